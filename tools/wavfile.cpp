#include "tools/wavfile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

namespace wavfile {

namespace {

std::uint32_t le(const unsigned char *p, int size) {
    std::uint32_t v = 0;
    for (int i = 0; i < size; ++i)
        v |= std::uint32_t(p[i]) << (8 * i);
    return v;
}

void put(std::string &out, std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i)
        out.push_back(char((v >> (8 * i)) & 0xff));
}

} // namespace

pcm read(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw error(path + ": cannot open");
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
    auto fail = [&](const std::string &fault) -> error { return error(path + ": " + fault); };
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        throw fail("not a RIFF WAVE file");

    std::uint32_t format = 0, channels = 0, rate = 0, bits = 0;
    bool havefmt = false;
    std::size_t pos = 12;
    while (pos + 8 <= bytes.size()) {
        const unsigned char *head = bytes.data() + pos;
        std::uint64_t size = le(head + 4, 4);
        const std::size_t body = pos + 8;
        if (std::memcmp(head, "fmt ", 4) == 0) {
            if (size < 16 || body + 16 > bytes.size())
                throw fail("format chunk truncated");
            format = le(bytes.data() + body, 2);
            channels = le(bytes.data() + body + 2, 2);
            rate = le(bytes.data() + body + 4, 4);
            bits = le(bytes.data() + body + 14, 2);
            if (format == 0xfffe && size >= 26)
                format = le(bytes.data() + body + 24, 2); // extensible: the sub-format
            havefmt = true;
        } else if (std::memcmp(head, "data", 4) == 0) {
            if (!havefmt)
                throw fail("data before the format chunk");
            if (size == 0 || size > bytes.size() - body)
                size = bytes.size() - body; // unfinished header: the data runs to the end
            const bool pcmint =
                format == 1 && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
            const bool pcmfloat = format == 3 && bits == 32;
            if (!pcmint && !pcmfloat)
                throw fail("unsupported sample format " + std::to_string(format) + " with " +
                           std::to_string(bits) + " bits");
            if (channels == 0 || channels > 16 || rate == 0)
                throw fail("absurd channel count or rate");
            const std::size_t width = bits / 8, frame = width * channels;
            const std::size_t frames = size / frame;
            pcm out;
            out.rate = rate;
            out.samples.reserve(frames);
            for (std::size_t f = 0; f < frames; ++f) {
                double sum = 0;
                for (std::uint32_t c = 0; c < channels; ++c) {
                    const unsigned char *s = bytes.data() + body + f * frame + c * width;
                    double v;
                    if (pcmfloat) {
                        float x;
                        std::memcpy(&x, s, 4);
                        v = x;
                    } else if (bits == 8) {
                        v = (double(s[0]) - 128) / 128;
                    } else {
                        const std::uint32_t raw = le(s, int(width)) << (32 - bits);
                        v = double(std::int32_t(raw)) / 2147483648.0;
                    }
                    sum += v;
                }
                const double mono = std::clamp(sum / channels, -1.0, 1.0);
                out.samples.push_back(std::int16_t(std::lround(mono * 32767)));
            }
            return out;
        }
        pos = body + size + (size & 1);
    }
    throw fail("no data chunk");
}

void write(const std::string &path, const pcm &sound) {
    std::string out = "RIFF";
    const std::uint32_t datasize = std::uint32_t(sound.samples.size() * 2);
    put(out, 36 + datasize, 4);
    out += "WAVEfmt ";
    put(out, 16, 4);
    put(out, 1, 2);
    put(out, 1, 2);
    put(out, sound.rate, 4);
    put(out, sound.rate * 2, 4);
    put(out, 2, 2);
    put(out, 16, 2);
    out += "data";
    put(out, datasize, 4);
    for (std::int16_t s : sound.samples)
        put(out, std::uint16_t(s), 2);
    std::ofstream file(path, std::ios::binary);
    if (!file.write(out.data(), std::streamsize(out.size())))
        throw error(path + ": cannot write");
}

} // namespace wavfile
