#pragma once

#include "platform/audio/sounddevice.h"

#include <QTimer>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

// A stream of 16-bit mono samples (speech) that plays as it is fed. All calls are made on the
// UI thread (a synthesis thread posts its chunks there first), and the end of the audio is
// reported on the UI thread from its event loop, never from an audio thread.
namespace audio {

class pcmstream {
  public:
    virtual ~pcmstream() = default;

    // Appends count samples at rate samples per second; playback starts at once when idle.
    virtual void queue(const std::int16_t *samples, std::size_t count, int rate) = 0;
    // Stops at once and drops everything queued. No drained notification follows for the
    // dropped audio.
    virtual void clear() = 0;
    // True from the first queue until the audio has played out or been cleared.
    virtual bool playing() const = 0;
    // Called on the UI thread once all queued audio has played out.
    virtual void setondrained(std::function<void()> callback) = 0;
};

// The stream on the sound device: an OpenAL source fed with a queue of buffers, watched by a
// UI-thread timer only while something plays. On a silent device it keeps the timing alone.
class devicepcmstream : public pcmstream {
  public:
    explicit devicepcmstream(sounddevice &device);
    ~devicepcmstream() override;

    void queue(const std::int16_t *samples, std::size_t count, int rate) override;
    void clear() override;
    bool playing() const override { return busy; }
    void setondrained(std::function<void()> callback) override { ondrained = std::move(callback); }

  private:
    struct chunk {
        std::vector<std::int16_t> samples;
        int rate;
    };
    void poll();
    void recycle();
    void feed();
    void finish();

    sounddevice &device;
    std::function<void()> ondrained;
    QTimer watch;
    bool busy = false;

    // OpenAL
    unsigned source = 0;
    std::vector<unsigned> allbuffers;
    std::vector<unsigned> freebuffers;
    int queuedrate = 0;     // rate of the buffers on the source
    std::deque<chunk> held; // chunks of another rate, waiting for the source to empty

    // Silent device: when the fed audio would end.
    std::chrono::steady_clock::time_point silentend;
};

} // namespace audio
