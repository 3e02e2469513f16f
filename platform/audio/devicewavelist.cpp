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

// A quiet end at least this long is left out of a single play's buffer (the wait still lasts the
// whole wave), so that the device can rest through it: the game's waiting tick is 25 ms of sound
// in 200 ms.
constexpr double leastquietend = 0.02; // seconds

// The frames up to the last one that is not exactly zero.
std::size_t soundingframes(const std::vector<std::int16_t> &samples) {
    const auto last =
        std::find_if(samples.rbegin(), samples.rend(), [](std::int16_t s) { return s != 0; });
    return std::size_t(samples.rend() - last);
}

ALuint makebuffer(const std::int16_t *samples, std::size_t count, std::uint32_t rate) {
    ALuint buffer = 0;
    alGetError();
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR)
        return 0;
    alBufferData(buffer, AL_FORMAT_MONO16, samples, ALsizei(count * 2), ALsizei(rate));
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &buffer);
        return 0;
    }
    return buffer;
}

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
        buffer = makebuffer(w.samples.data(), w.samples.size(), w.rate);
        const std::size_t sounding = soundingframes(w.samples);
        if (buffer && sounding > 0 && double(frames - sounding) >= leastquietend * w.rate) {
            soundbuffer = makebuffer(w.samples.data(), sounding, w.rate);
            soundframes = soundbuffer ? sounding : 0;
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
        if (soundbuffer)
            alDeleteBuffers(1, &soundbuffer);
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
        const std::size_t playing = playingbuffer == soundbuffer ? soundframes : frames;
        for (;;) {
            ALint state = AL_STOPPED;
            alGetSourcei(source, AL_SOURCE_STATE, &state);
            if (state != AL_PLAYING) {
                // The mixer works a few milliseconds ahead of the speaker; the wave's own
                // length is the least a wait takes, as on the silent device. Through a long
                // quiet end the device may rest once the last sound has left its output.
                const auto tail = device.outputtail();
                if (steadyclock::now() + tail + std::chrono::milliseconds(10) < start + length) {
                    std::this_thread::sleep_for(tail);
                    device.restifidle();
                }
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
            const double remaining =
                double(playing - std::min<std::size_t>(offset, playing)) / rate;
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
            alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
            alSource3f(source, AL_POSITION, 0, 0, 0);
            device.watch(source);
        }
        alSourceStop(source);
        // A loop repeats the whole wave, quiet end and all; a single play needs only its sound.
        const ALuint wanted = !loop && soundbuffer ? soundbuffer : buffer;
        if (wanted != playingbuffer) {
            alSourcei(source, AL_BUFFER, ALint(wanted));
            playingbuffer = wanted;
        }
        alSourcei(source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
        alSourcef(source, AL_PITCH, float(rate / bufferrate));
        alSourcef(source, AL_GAIN, float(gainof(volume)));
        return true;
    }

    sounddevice &device;
    const double bufferrate;
    const std::size_t frames;
    ALuint buffer = 0;      // the whole wave
    ALuint soundbuffer = 0; // the wave without its quiet end, when it has a long one
    std::size_t soundframes = 0;
    ALuint playingbuffer = 0; // the one attached to the source
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
