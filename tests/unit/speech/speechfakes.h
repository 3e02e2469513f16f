#pragma once

#include "platform/audio/pcmstream.h"
#include "platform/loop/loop.h"
#include "platform/tts4/tts4.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace speechtest {

// A speech stream without a device: records what it is given and plays it out in simulated
// time (speedup times faster than real time), then reports the drain like the real one.
class recordingstream : public audio::pcmstream {
  public:
    explicit recordingstream(double speedup = 1.0) : speedup(speedup) {
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            busy = false;
            if (ondrained)
                ondrained();
        });
        clock.start();
    }

    void queue(const std::int16_t *data, std::size_t count, int samplerate) override {
        samples.insert(samples.end(), data, data + count);
        rate = samplerate;
        ++writes;
        lastwritems = clock.elapsed();
        const double now = clock.nsecsElapsed() / 1e6;
        endms = std::max(endms, now) + 1000.0 * double(count) / samplerate / speedup;
        busy = true;
        timer.start(int(endms - now + 0.999));
    }
    void clear() override {
        timer.stop();
        busy = false;
        endms = 0;
        ++clears;
    }
    bool playing() const override { return busy; }
    void setondrained(std::function<void()> callback) override { ondrained = std::move(callback); }

    std::vector<std::int16_t> samples;
    int rate = 0;
    int writes = 0;
    int clears = 0;
    qint64 lastwritems = -1;
    QElapsedTimer clock;

  private:
    double speedup;
    double endms = 0;
    bool busy = false;
    QTimer timer;
    std::function<void()> ondrained;
};

// Counts the notifications and checks that they alternate.
class countingsink : public tts4::notifysink {
  public:
    void AudioStart(std::uint64_t) override {
        if (speaking)
            ++faults;
        speaking = true;
        ++starts;
    }
    void AudioStop(std::uint64_t) override {
        if (!speaking)
            ++faults;
        speaking = false;
        ++stops;
    }
    bool speaking = false;
    int starts = 0;
    int stops = 0;
    int faults = 0;
};

} // namespace speechtest
