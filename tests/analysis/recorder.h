#pragma once

#include <QProcess>
#include <chrono>
#include <cstdint>
#include <vector>

// Records the default sink's monitor of the PulseAudio server with parec, as mono 16-bit
// samples, noting when each piece arrives so that a sample can be placed on the steady clock.
namespace analysis {

class recorder {
  public:
    static constexpr int rate = 48000;

    // True when a PulseAudio server answers (pactl info).
    static bool serverreachable();

    // Starts parec and turns the event loop until samples flow; false if they do not.
    bool start();
    // Turns the event loop for the given time, collecting what arrives.
    void collect(std::chrono::milliseconds time);
    void stop();

    const std::vector<std::int16_t> &samples() const { return data; }
    // Steady-clock time at which sample `index` was played by the server: an upper bound that
    // is late by at most the shortest delivery delay seen.
    std::chrono::steady_clock::time_point timeofsample(double index) const;

  private:
    void take();

    QProcess parec;
    std::vector<std::int16_t> data;
    QByteArray partial;
    bool haveorigin = false;
    std::chrono::steady_clock::time_point origin; // estimated time of sample 0
};

} // namespace analysis
