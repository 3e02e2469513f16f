#include "platform/audio/devicewavelist.h"
#include "runtime/sounds.h"
#include "tests/analysis/recorder.h"
#include "tests/analysis/wavanalysis.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

// Tones played through OpenAL into the PulseAudio server, recorded from the default sink's
// monitor and measured: pitch from the zero crossings, length from the first to the last loud
// sample. The test command starts the server with a null sink as the default sink.
namespace {

using ms = std::chrono::milliseconds;

// k whole cycles in n samples: at F samples per second the tone is F * k / n Hz.
std::vector<std::int16_t> cycles(int k, int n) {
    std::vector<std::int16_t> s(n);
    for (int i = 0; i < n; ++i)
        s[i] = std::int16_t(12000 * std::sin(2 * M_PI * k * i / n));
    return s;
}

class realaudio : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!analysis::recorder::serverreachable())
            GTEST_SKIP() << "no PulseAudio server reachable";
        qputenv("ALSOFT_DRIVERS", "pulse");
        device = std::make_unique<audio::sounddevice>();
        if (device->silent())
            GTEST_SKIP() << "OpenAL could not open the server: " << device->description();
        waves = std::make_unique<audio::devicewavelist>(*device);
        // snd11: 1/64 cycle per sample, so note 1000 (64,000 samples/s) sounds at 1000 Hz.
        // beep: 150 ms of 1500 Hz at 48,000 samples/s.
        waves->load({{"snd11", 22050, cycles(64, 4096)}, {"beep", 48000, cycles(225, 7200)}});
        sounds = std::make_unique<soundcommands>(*waves);
        ASSERT_TRUE(rec.start()) << "parec delivers nothing";
    }
    void TearDown() override { rec.stop(); }

    analysis::tone recorded() {
        rec.collect(ms(300));
        rec.stop();
        return analysis::analyse(rec.samples(), analysis::recorder::rate);
    }

    std::unique_ptr<audio::sounddevice> device;
    std::unique_ptr<audio::devicewavelist> waves;
    std::unique_ptr<soundcommands> sounds;
    analysis::recorder rec;
};

TEST_F(realaudio, toneplaysatitspitchforitsduration) {
    sounds->playnotes({1000}, 300, 1);
    const analysis::tone t = recorded();
    ASSERT_TRUE(t.found);
    EXPECT_NEAR(t.frequency, 1000, 2);
    EXPECT_NEAR(t.length * 1000, 300, 8); // mixing periods are 5.3 ms
}

TEST_F(realaudio, beepplaysoutbeforeitreturns) {
    const auto start = std::chrono::steady_clock::now();
    sounds->beep();
    const auto took = std::chrono::steady_clock::now() - start;
    const analysis::tone t = recorded();
    ASSERT_TRUE(t.found);
    EXPECT_NEAR(t.frequency, 1500, 3);
    EXPECT_NEAR(t.length * 1000, 150, 3);
    EXPECT_GE(took, ms(150));
    EXPECT_LE(took, ms(200));
}

// After an idle spell the device has paused its mixer; the beep wakes it, sounds promptly and
// plays out whole.
TEST_F(realaudio, beepafteranidlespellsoundspromptlyandwhole) {
    rec.collect(ms(400));
    EXPECT_TRUE(device->paused());
    const std::size_t from = rec.samples().size();
    const auto start = std::chrono::steady_clock::now();
    sounds->beep();
    const auto took = std::chrono::steady_clock::now() - start;
    rec.collect(ms(300));
    rec.stop();
    const std::vector<std::int16_t> slice(rec.samples().begin() + long(from), rec.samples().end());
    const analysis::tone t = analysis::analyse(slice, analysis::recorder::rate);
    ASSERT_TRUE(t.found);
    EXPECT_NEAR(t.length * 1000, 150, 3);
    EXPECT_GE(took, ms(150));
    EXPECT_LE(took, ms(200));
    // About 10 ms when awake; a wake that waited for a timer tick would take 100 ms.
    const auto onset = rec.timeofsample(double(from) + t.onset * analysis::recorder::rate);
    EXPECT_LE(onset - start, ms(60));
}

// The sounding stretches of a recording from sample from on: runs of loud samples, split where
// it stays quiet for 60 ms or more. Start and end in samples.
std::vector<std::pair<std::size_t, std::size_t>> bursts(const std::vector<std::int16_t> &s,
                                                        std::size_t from) {
    const std::size_t gap = analysis::recorder::rate * 6 / 100;
    std::vector<std::pair<std::size_t, std::size_t>> found;
    for (std::size_t i = from; i < s.size(); ++i) {
        if (std::abs(s[i]) < 1000)
            continue;
        if (found.empty() || i - found.back().second > gap)
            found.push_back({i, i + 1});
        else
            found.back().second = i + 1;
    }
    return found;
}

// The game's waiting tick: a short sound with a long quiet end, played and waited for again and
// again. The device rests through each quiet end, and the ticks are still heard whole and in
// step. (The audio server on a loaded machine now and then drops a few milliseconds of any
// sound, so a tick's length is judged by the median.)
TEST_F(realaudio, ticksletthedevicerestthroughtheirquietendandsoundwhole) {
    std::vector<std::int16_t> tick = cycles(40, 1920); // 40 ms of 1000 Hz at 48,000 samples/s
    tick.resize(9600, 0);                              // then 160 ms of quiet
    waves->load({{"click9", 48000, tick}});
    rec.collect(ms(100));
    const std::size_t from = rec.samples().size();
    const int ticks = 6;
    for (int n = 0; n < ticks; ++n) {
        const auto start = std::chrono::steady_clock::now();
        sounds->click(9);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_GE(took, ms(200));
        EXPECT_LE(took, ms(230));
        EXPECT_TRUE(device->paused()) << "tick " << n << " kept the device running";
    }
    rec.collect(ms(300));
    rec.stop();
    const auto found = bursts(rec.samples(), from);
    ASSERT_EQ(found.size(), std::size_t(ticks));
    const double persecond = analysis::recorder::rate;
    std::vector<double> lengths;
    for (std::size_t n = 0; n < found.size(); ++n) {
        lengths.push_back(double(found[n].second - found[n].first) / persecond * 1000);
        EXPECT_LE(lengths.back(), 43) << "tick " << n << " ran into the next";
        if (n > 0) {
            EXPECT_NEAR(double(found[n].first - found[n - 1].first) / persecond * 1000, 200, 15)
                << "tick " << n;
        }
    }
    std::sort(lengths.begin(), lengths.end());
    EXPECT_NEAR(lengths[lengths.size() / 2], 40, 3);
}

} // namespace
