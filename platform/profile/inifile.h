#pragma once

#include <optional>
#include <stdexcept>
#include <string>

namespace profile {

struct profileerror : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A settings file in the ini format: "[section]" lines followed by "key=value" lines. Section and
// key names match without regard to letter case; a name keeps the case it was first written in;
// lines the reader does not understand are kept as they are. Nothing is cached: every read reads
// the file and every write rewrites it atomically (a temporary file renamed into place), so a
// crash or a full disk never leaves a half-written file.
class inifile {
  public:
    explicit inifile(std::string path);

    const std::string &path() const { return filepath; }
    bool exists() const;

    std::optional<std::string> readstring(const std::string &section, const std::string &key) const;
    // A missing key or a value that is not a whole decimal number gives the default.
    int readint(const std::string &section, const std::string &key, int defaultvalue) const;

    // Throws profileerror when the file cannot be written; the old file is then left intact.
    void writestring(const std::string &section, const std::string &key, const std::string &value);
    void writeint(const std::string &section, const std::string &key, int value);

  private:
    std::string filepath;
};

// Strict decimal integer: optional blanks, optional sign, digits, optional blanks.
std::optional<int> parseint(const std::string &text);

} // namespace profile
