#include "platform/audio/devicewavelist.h"
#include "platform/audio/pcmstream.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

// The wave list and the speech stream on a real OpenAL device with its null backend (paced in
// real time, set by the test's environment) and on the silent stand-in: both keep every duration.
namespace {

using steady = std::chrono::steady_clock;
using ms = std::chrono::milliseconds;
using kind = audio::sounddevice::kind;

std::vector<std::int16_t> sine(std::size_t count, double cyclespersample) {
    std::vector<std::int16_t> s(count);
    for (std::size_t i = 0; i < count; ++i)
        s[i] = std::int16_t(8000 * std::sin(2 * M_PI * cyclespersample * double(i)));
    return s;
}

void turnloop(ms time) {
    QEventLoop loop;
    QTimer::singleShot(int(time.count()), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

struct devicecase {
    const char *name;
    kind wanted;
};

void PrintTo(const devicecase &c, std::ostream *os) {
    *os << c.name;
}

class ondevice : public ::testing::TestWithParam<devicecase> {
  protected:
    // The real device is OpenAL's null backend, so the test runs without a sound card. OpenAL
    // reads the driver list once, at the first device of the process: the test environment sets
    // it before the process starts, this covers a direct run of the binary.
    void SetUp() override { qputenv("ALSOFT_DRIVERS", "null"); }
    kind wanted() const { return GetParam().wanted; }
};

void expectdevice(const audio::sounddevice &device, kind wanted) {
    EXPECT_EQ(device.silent(), wanted == kind::silent) << device.description();
}

TEST_P(ondevice, playandwaittakesthewaveslengthatitsrate) {
    audio::sounddevice device(wanted());
    expectdevice(device, wanted());
    audio::devicewavelist waves(device);
    waves.load({{"click9", 44100, sine(4410, 0.02)}});
    audio::waveitem &click = waves.find("click9");

    struct step {
        double rate;
        bool loop;
        ms expected;
    };
    // At its own rate; twice as fast; looping (one pass, never for ever).
    for (const step &s :
         {step{44100, false, ms(100)}, step{88200, false, ms(50)}, step{44100, true, ms(100)}}) {
        click.setfrequency(s.rate);
        click.setloop(s.loop);
        click.setvolume(-10000);
        const auto start = steady::now();
        click.play(true);
        const auto took = steady::now() - start;
        click.stop();
        EXPECT_GE(took, s.expected - ms(1)) << s.rate;
        EXPECT_LE(took, s.expected + ms(150)) << s.rate; // a loaded machine wakes late
    }
    EXPECT_THROW(waves.find("click99"), audio::wavenotfound);
}

TEST_P(ondevice, streamreportsitsendonceontheuithread) {
    audio::sounddevice device(wanted());
    expectdevice(device, wanted());
    audio::devicepcmstream stream(device);
    int drained = 0;
    bool onuithread = false;
    steady::time_point end;
    stream.setondrained([&] {
        ++drained;
        onuithread = QThread::currentThread() == QCoreApplication::instance()->thread();
        end = steady::now();
    });
    const auto chunk = sine(441, 0.05); // 20 ms at 22,050 samples/s
    const auto start = steady::now();
    for (int i = 0; i < 10; ++i)
        stream.queue(chunk.data(), chunk.size(), 22050);
    EXPECT_TRUE(stream.playing());
    // 200 ms of audio; waits on past the report to catch a second one.
    turnloop(ms(500));
    EXPECT_EQ(drained, 1);
    EXPECT_TRUE(onuithread);
    EXPECT_FALSE(stream.playing());
    EXPECT_GE(end - start, ms(195));
    EXPECT_LE(end - start, ms(350));
}

TEST_P(ondevice, clearstopsatonceanddropsthequeue) {
    audio::sounddevice device(wanted());
    expectdevice(device, wanted());
    audio::devicepcmstream stream(device);
    int drained = 0;
    stream.setondrained([&] { ++drained; });
    const auto chunk = sine(22050, 0.05); // one second
    stream.queue(chunk.data(), chunk.size(), 22050);
    turnloop(ms(50));
    stream.clear();
    EXPECT_FALSE(stream.playing());
    turnloop(ms(150));
    EXPECT_EQ(drained, 0);
    // The stream is usable again at once, also at another rate.
    stream.queue(chunk.data(), 1600, 16000);
    turnloop(ms(300));
    EXPECT_EQ(drained, 1);
}

// An idle device pauses its mixer (nothing to mix costs nothing) and a play or queue wakes it:
// a sound after an idle spell still takes its own length, and a sounding loop keeps it awake.
TEST_P(ondevice, idledevicepausesandwakesforthenextsound) {
    audio::sounddevice device(wanted());
    expectdevice(device, wanted());
    const bool pauses = wanted() != kind::silent;
    audio::devicewavelist waves(device);
    waves.load({{"click9", 44100, sine(4410, 0.02)}});
    audio::waveitem &click = waves.find("click9");
    click.setvolume(-10000);
    audio::devicepcmstream stream(device);
    int drained = 0;
    stream.setondrained([&] { ++drained; });
    const auto chunk = sine(2205, 0.05); // 100 ms at 22,050 samples/s

    for (int round = 0; round < 2; ++round) {
        turnloop(ms(400));
        EXPECT_EQ(device.paused(), pauses);
        const auto start = steady::now();
        click.play(true);
        const auto took = steady::now() - start;
        EXPECT_GE(took, ms(99));
        EXPECT_LE(took, ms(250)); // a device left paused stalls until the 500 ms give-up

        turnloop(ms(400));
        EXPECT_EQ(device.paused(), pauses);
        const auto queued = steady::now();
        stream.queue(chunk.data(), chunk.size(), 22050);
        turnloop(ms(300)); // a paused device never drains
        EXPECT_EQ(drained, round + 1);
        EXPECT_FALSE(stream.playing());
        EXPECT_GE(steady::now() - queued, ms(100));
    }

    click.setloop(true);
    click.play(false);
    turnloop(ms(400));
    EXPECT_FALSE(device.paused());
    click.stop();
}

// A wave that ends in a long quiet stretch lets the device rest through it, and its wait still
// lasts the whole wave; looped, the quiet stretch is part of every pass and keeps it awake.
TEST_P(ondevice, waitthroughaquietendreststhedevice) {
    audio::sounddevice device(wanted());
    const bool pauses = wanted() != kind::silent;
    audio::devicewavelist waves(device);
    std::vector<std::int16_t> tick = sine(1323, 0.02); // 30 ms at 44,100 samples/s
    tick.resize(8820, 0);                              // then 170 ms of quiet
    waves.load({{"click9", 44100, tick}});
    audio::waveitem &click = waves.find("click9");
    click.setvolume(-10000);
    for (int round = 0; round < 2; ++round) {
        const auto start = steady::now();
        click.play(true);
        const auto took = steady::now() - start;
        EXPECT_GE(took, ms(199));
        EXPECT_LE(took, ms(260));
        EXPECT_EQ(device.paused(), pauses);
    }
    click.setloop(true);
    click.play(false);
    turnloop(ms(400));
    EXPECT_FALSE(device.paused());
    click.stop();
}

INSTANTIATE_TEST_SUITE_P(devices, ondevice,
                         ::testing::Values(devicecase{"openalnull", kind::automatic},
                                           devicecase{"silent", kind::silent}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
