// bench_tone: figures for the tones, measured through OpenAL into the PulseAudio server's
// default sink and recorded from its monitor:
//   - tone length error: requested duration against the recorded length;
//   - latency: from the playnotes call to the first audible sample of the sink, also right
//     after an idle spell, when the device has paused its mixer and the play resumes it;
//   - CPU used by the process during a 5-second tone wait;
//   - how long beep's play-and-wait runs past the end of the beep.
// Needs a PulseAudio server (the test session's null sink will do); says so and ends if none.

#include "platform/audio/devicewavelist.h"
#include "runtime/sounds.h"
#include "tests/analysis/recorder.h"
#include "tests/analysis/wavanalysis.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <sys/resource.h>

namespace {

using steady = std::chrono::steady_clock;
using ms = std::chrono::milliseconds;

double millis(steady::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double cpums(int who) {
    rusage u{};
    getrusage(who, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
}

std::vector<std::int16_t> cycles(int k, int n) {
    std::vector<std::int16_t> s(n);
    for (int i = 0; i < n; ++i)
        s[i] = std::int16_t(12000 * std::sin(2 * M_PI * k * i / n));
    return s;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (!analysis::recorder::serverreachable()) {
        std::printf("bench_tone: no PulseAudio server reachable; nothing measured\n");
        return 0;
    }
    qputenv("ALSOFT_DRIVERS", "pulse");
    audio::sounddevice device;
    if (device.silent()) {
        std::printf("bench_tone: %s; nothing measured\n", device.description().c_str());
        return 0;
    }
    audio::devicewavelist waves(device);
    waves.load({{"snd11", 22050, cycles(64, 4096)}, {"beep", 48000, cycles(225, 7200)}});
    soundcommands sounds(waves);
    std::printf("device: %s, mixing at %d samples/s\n", device.description().c_str(),
                device.outputrate());

    const double proc0 = cpums(RUSAGE_SELF), thread0 = cpums(RUSAGE_THREAD);
    const auto start = steady::now();
    sounds.playnotes({1000}, 5000, 1);
    const double wall = millis(steady::now() - start);
    std::printf("5-second tone wait (%.1f ms): CPU of the UI thread %.2f ms, of the whole "
                "process (OpenAL mixing included) %.2f ms\n",
                wall, cpums(RUSAGE_THREAD) - thread0, cpums(RUSAGE_SELF) - proc0);

    analysis::recorder rec;
    if (!rec.start()) {
        std::printf("bench_tone: parec delivers nothing; nothing measured\n");
        return 0;
    }

    std::printf("\ntone length (note 1000, octave 1 = 1000 Hz), 5 tones each:\n");
    std::printf("%10s %12s %12s %12s %10s %9s\n", "requested", "recorded", "mean error", "worst",
                "latency", "glitches");
    std::vector<double> latencies;
    for (int duration : {20, 50, 100, 250, 1000}) {
        double sumerror = 0, worst = 0, sumlength = 0;
        int glitches = 0;
        std::vector<double> lat;
        for (int rep = 0; rep < 5; ++rep) {
            const std::size_t from = rec.samples().size();
            const auto call = steady::now();
            sounds.playnotes({1000}, duration, 1);
            rec.collect(ms(200));
            const std::vector<std::int16_t> slice(rec.samples().begin() + long(from),
                                                  rec.samples().end());
            const analysis::tone t = analysis::analyse(slice, analysis::recorder::rate);
            if (!t.found)
                continue;
            const double error = t.length * 1000 - duration;
            sumerror += error;
            sumlength += t.length * 1000;
            worst = std::abs(error) > std::abs(worst) ? error : worst;
            glitches += t.glitches;
            lat.push_back(
                millis(rec.timeofsample(double(from) + t.onset * analysis::recorder::rate) - call));
        }
        latencies.insert(latencies.end(), lat.begin(), lat.end());
        std::printf("%8d ms %9.2f ms %+9.2f ms %+9.2f ms %7.2f ms %9d\n", duration, sumlength / 5,
                    sumerror / 5, worst, median(lat), glitches);
    }
    std::printf("\nplaynotes to first audible sample: median %.2f ms, min %.2f, max %.2f "
                "(an upper bound: includes the recorder's shortest delivery delay)\n",
                median(latencies), *std::min_element(latencies.begin(), latencies.end()),
                *std::max_element(latencies.begin(), latencies.end()));

    // The same tone with the device running (50 ms after the last one) and after an idle spell
    // (the device pauses within 200 ms of silence; the play resumes it).
    std::vector<double> awake, resumed, wakecost;
    int pausedbefore = 0;
    for (int rep = 0; rep < 10; ++rep) {
        const bool idle = rep % 2 == 1;
        rec.collect(ms(idle ? 400 : 50));
        pausedbefore += idle && device.paused();
        const std::size_t from = rec.samples().size();
        const auto call = steady::now();
        sounds.playnotes({1000}, 50, 1);
        rec.collect(ms(150));
        const std::vector<std::int16_t> slice(rec.samples().begin() + long(from),
                                              rec.samples().end());
        const analysis::tone t = analysis::analyse(slice, analysis::recorder::rate);
        if (t.found)
            (idle ? resumed : awake)
                .push_back(millis(
                    rec.timeofsample(double(from) + t.onset * analysis::recorder::rate) - call));
    }
    for (int rep = 0; rep < 5; ++rep) {
        rec.collect(ms(400));
        const auto w = steady::now();
        device.wake();
        wakecost.push_back(millis(steady::now() - w));
    }
    std::printf("\nplaynotes to first audible sample, device running: median %.2f ms (%zu tones); "
                "after an idle spell (paused before %d of 5): median %.2f ms, max %.2f (%zu "
                "tones); resuming the device takes %.3f ms (median)\n",
                median(awake), awake.size(), pausedbefore, median(resumed),
                resumed.empty() ? 0.0 : *std::max_element(resumed.begin(), resumed.end()),
                resumed.size(), median(wakecost));

    std::vector<double> overrun;
    for (int rep = 0; rep < 5; ++rep) {
        const auto b = steady::now();
        sounds.beep();
        overrun.push_back(millis(steady::now() - b) - 150);
        rec.collect(ms(50));
    }
    std::printf("\nbeep (150 ms) play-and-wait returns after its end: median %+.2f ms, "
                "max %+.2f ms\n",
                median(overrun), *std::max_element(overrun.begin(), overrun.end()));
    rec.stop();
    return 0;
}
