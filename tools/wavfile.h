#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// RIFF WAVE files: PCM 8, 16, 24 or 32 bit, or 32-bit float, any channel count (mixed down to
// one channel). Used by the sound maker to pack recordings and by the tests to read what the
// audio server recorded. A header whose data length is missing or too large (a recorder that
// was stopped before it could finish the file) is read up to the end of the file.
namespace wavfile {

struct error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct pcm {
    std::uint32_t rate = 0;
    std::vector<std::int16_t> samples; // one channel
};

pcm read(const std::string &path);
void write(const std::string &path, const pcm &sound);

} // namespace wavfile
