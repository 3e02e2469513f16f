#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// The sound file ("sounds.dat"): a collection of named waves, written by tools/soundmaker and
// read once at start. This comment is the one description of the format.
//
// All numbers are little-endian. The file is a header followed by `count` wave records and
// nothing else.
//
//   header, 16 bytes
//     magic     8 bytes   "VLAKSND" followed by one 0 byte
//     version   u16       1 (a reader refuses any other version)
//     flags     u16       0 (reserved; a reader refuses other values)
//     count     u32       number of wave records, 1 to maxwaves
//
//   wave record, repeated count times
//     namelen   u8        1 to maxname
//     name      namelen bytes, ASCII letters and digits, unique within the file
//     rate      u32       natural rate in samples per second, minrate to maxrate; a player
//                         may set another rate for each playing
//     frames    u32       number of samples, 1 to maxframes
//     samples   frames x s16, one channel
//
// A looped wave holds whole cycles of its waveform, so the loop seam is inaudible. Whether an
// item loops is the player's setting, not part of the file.
//
// The reader checks every length against the limits and against the bytes left before it
// allocates, so a damaged file gives a soundfileerror naming the file and the fault, never a
// crash or a huge allocation.
namespace audio {

struct wave {
    std::string name;
    std::uint32_t rate = 22050;
    std::vector<std::int16_t> samples;
};

struct soundfileerror : std::runtime_error {
    using std::runtime_error::runtime_error;
};

namespace soundfile {

inline constexpr char magic[8] = {'V', 'L', 'A', 'K', 'S', 'N', 'D', '\0'};
inline constexpr std::uint16_t version = 1;
inline constexpr std::uint32_t maxwaves = 1024;
inline constexpr std::uint32_t maxname = 64;
inline constexpr std::uint32_t minrate = 100;
inline constexpr std::uint32_t maxrate = 200000;
inline constexpr std::uint32_t maxframes = 1u << 24; // about 6 minutes at 48,000 samples/s
inline constexpr std::uint64_t maxfilesize = 1ull << 30;

// Reads and checks a whole file. Throws soundfileerror: "<path>: <fault>".
std::vector<wave> read(const std::string &path);
// Parses bytes already read; name is used in messages.
std::vector<wave> parse(const std::vector<unsigned char> &bytes, const std::string &name);

// Encodes waves; throws soundfileerror when a wave breaks a limit (the maker's checks).
std::vector<unsigned char> encode(const std::vector<wave> &waves);
// Writes atomically (temporary file, then rename).
void write(const std::string &path, const std::vector<wave> &waves);

} // namespace soundfile
} // namespace audio
