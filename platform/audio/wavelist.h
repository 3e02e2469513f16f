#pragma once

#include <stdexcept>
#include <string>

// The wave list the sound commands play from: named items, each a recorded wave with a loop
// setting, a playback rate and a volume. The real list plays through the sound device
// (devicewavelist.h); unit tests use a fake that records the calls.
namespace audio {

// Raised for a name the list does not hold; the text is the one a run shows when it ends.
struct wavenotfound : std::runtime_error {
    explicit wavenotfound(const std::string &name)
        : std::runtime_error("Wave '" + name + "' not found") {}
};

class waveitem {
  public:
    virtual ~waveitem() = default;

    virtual void setloop(bool loop) = 0;
    // Playback rate in samples per second. Values outside [minrate, maxrate] are clamped there.
    virtual void setfrequency(double samplespersecond) = 0;
    // Hundredths of a decibel: -10000 is silence, 0 is full level. Clamped to that range.
    virtual void setvolume(int hundredthsdb) = 0;
    // Starts the wave from its beginning. With waituntilend the calling thread blocks (without
    // turning the message loop) until the wave has played out; a looping wave is waited for one
    // pass, so the wait always ends.
    virtual void play(bool waituntilend) = 0;
    virtual void stop() = 0;

    static constexpr double minrate = 64;
    static constexpr double maxrate = 200000;
};

class wavelist {
  public:
    virtual ~wavelist() = default;

    // Replaces the items with the waves of a sound file; throws soundfileerror (soundfile.h)
    // when the file cannot be read or is damaged, and leaves the list as it was.
    virtual void load(const std::string &path) = 0;
    // The item of that exact name; throws wavenotfound.
    virtual waveitem &find(const std::string &name) = 0;
};

} // namespace audio
