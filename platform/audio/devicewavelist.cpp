#include "platform/audio/devicewavelist.h"

#include <AL/al.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace audio {

namespace {

using steadyclock = std::chrono::steady_clock;

// Longest wait beyond a wave's own length before a play-and-wait gives up on a stalled device.
constexpr auto stallmargin = std::chrono::milliseconds(500);

double gainof(int hundredthsdb) {
    if (hundredthsdb <= -10000)
        return 0.0;
    return std::pow(10.0, std::min(hundredthsdb, 0) / 2000.0);
}

} // namespace

class devicewavelist::item : public waveitem {
  public:
    item(sounddevice &device, const wave &w)
        : device(device), bufferrate(w.rate), frames(w.samples.size()), rate(w.rate) {
        if (!device.active())
            return;
        alGetError();
        alGenBuffers(1, &buffer);
        if (alGetError() != AL_NO_ERROR) {
            buffer = 0;
            return;
        }
        alBufferData(buffer, AL_FORMAT_MONO16, w.samples.data(), ALsizei(w.samples.size() * 2),
                     ALsizei(w.rate));
        if (alGetError() != AL_NO_ERROR) {
            alDeleteBuffers(1, &buffer);
            buffer = 0;
        }
    }

    ~item() override {
        if (!device.active())
            return;
        if (source) {
            device.unwatch(source);
            alSourceStop(source);
            alDeleteSources(1, &source);
        }
        if (buffer)
            alDeleteBuffers(1, &buffer);
    }

    void setloop(bool on) override {
        loop = on;
        if (source && device.active())
            alSourcei(source, AL_LOOPING, on ? AL_TRUE : AL_FALSE);
    }

    void setfrequency(double samplespersecond) override {
        if (!(samplespersecond >= minrate)) // also catches NaN
            samplespersecond = minrate;
        rate = std::min(samplespersecond, maxrate);
        if (source && device.active())
            alSourcef(source, AL_PITCH, float(rate / bufferrate));
    }

    void setvolume(int hundredthsdb) override {
        volume = std::clamp(hundredthsdb, -10000, 0);
        if (source && device.active())
            alSourcef(source, AL_GAIN, float(gainof(volume)));
    }

    void play(bool waituntilend) override {
        const auto start = steadyclock::now();
        const auto length = std::chrono::duration_cast<steadyclock::duration>(
            std::chrono::duration<double>(double(frames) / rate));
        const bool audible = prepare();
        if (audible) {
            device.wake();
            alSourcePlay(source);
        }
        if (!waituntilend)
            return;
        if (!audible || loop) {
            // Silent, or one pass of a looping wave: the wave's own length.
            std::this_thread::sleep_until(start + length);
            return;
        }
        // Sleep through most of the wave, then look at the source in short steps: the mixer
        // reports the end at its next period (about 5 ms).
        const auto giveup = start + length + stallmargin;
        for (;;) {
            ALint state = AL_STOPPED;
            alGetSourcei(source, AL_SOURCE_STATE, &state);
            if (state != AL_PLAYING) {
                // The mixer works a few milliseconds ahead of the speaker; the wave's own
                // length is the least a wait takes, as on the silent device.
                std::this_thread::sleep_until(start + length);
                return;
            }
            const auto now = steadyclock::now();
            if (now >= giveup) {
                alSourceStop(source);
                return;
            }
            ALint offset = 0;
            alGetSourcei(source, AL_SAMPLE_OFFSET, &offset);
            const double remaining = double(frames - std::min<std::size_t>(offset, frames)) / rate;
            const double step = std::clamp(remaining - 0.002, 0.001, 0.05);
            std::this_thread::sleep_for(std::chrono::duration<double>(step));
        }
    }

    void stop() override {
        if (source && device.active())
            alSourceStop(source);
    }

  private:
    // Makes the source on first use and applies the settings; false when nothing can sound.
    bool prepare() {
        if (!buffer || !device.active())
            return false;
        if (!source) {
            alGetError();
            alGenSources(1, &source);
            if (alGetError() != AL_NO_ERROR) {
                source = 0;
                return false;
            }
            alSourcei(source, AL_BUFFER, ALint(buffer));
            alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
            alSource3f(source, AL_POSITION, 0, 0, 0);
            device.watch(source);
        }
        alSourceStop(source);
        alSourcei(source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
        alSourcef(source, AL_PITCH, float(rate / bufferrate));
        alSourcef(source, AL_GAIN, float(gainof(volume)));
        return true;
    }

    sounddevice &device;
    const double bufferrate;
    const std::size_t frames;
    ALuint buffer = 0;
    ALuint source = 0;
    bool loop = false;
    double rate;
    int volume = 0;
};

devicewavelist::devicewavelist(sounddevice &device) : device(device) {}

devicewavelist::~devicewavelist() = default;

void devicewavelist::load(const std::string &path) {
    load(soundfile::read(path));
}

void devicewavelist::load(const std::vector<wave> &waves) {
    std::map<std::string, std::unique_ptr<item>> fresh;
    for (const wave &w : waves)
        fresh[w.name] = std::make_unique<item>(device, w);
    items.swap(fresh);
}

waveitem &devicewavelist::find(const std::string &name) {
    const auto found = items.find(name);
    if (found == items.end())
        throw wavenotfound(name);
    return *found->second;
}

} // namespace audio
