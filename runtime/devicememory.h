#pragma once

#include <array>
#include <cstdint>
#include <string>

// The note-taker's 64 KiB memory image, kept in "ram.dat" between starts. Programs only read it.
class devicememory {
  public:
    static constexpr size_t size = 65536;

    explicit devicememory(std::string path = "ram.dat") : filepath(std::move(path)) {}

    // Loads what the file holds, up to 65,536 bytes; a shorter file fills the start and the rest
    // stays zero; no file leaves all zeros. A file that exists but cannot be read raises runerror
    // and marks the image so that saveram will not overwrite the unread file.
    void loadram();
    // Writes all 65,536 bytes atomically (temporary file renamed into place); a failure raises
    // runerror and leaves the old file as it was.
    void saveram() const;
    // The byte at trunc(address); an address outside 0..65535 raises runerror.
    std::uint8_t peek(double address) const;

    const std::string &path() const { return filepath; }
    std::array<std::uint8_t, size> bytes{};

  private:
    std::string filepath;
    bool unreadable = false;
};
