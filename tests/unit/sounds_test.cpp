#include "platform/loop/loop.h"
#include "runtime/sounds.h"
#include "tests/unit/fakewavelist.h"

#include "casename.h"
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <cctype>
#include <chrono>

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace {

using steady = std::chrono::steady_clock;
using strings = std::vector<std::string>;

std::vector<std::string> allitems() {
    std::vector<std::string> names{"beep"};
    for (int voice = 1; voice <= 4; ++voice)
        for (int octave = 0; octave <= 9; ++octave)
            names.push_back("snd" + std::to_string(voice) + std::to_string(octave));
    for (int n = 0; n <= 20; ++n)
        names.push_back("click" + std::to_string(n));
    return names;
}

// What a started voice goes through, in order.
strings started(const std::string &item, long rate, int volume) {
    return {item + " loop 1", item + " frequency " + std::to_string(rate),
            item + " volume " + std::to_string(volume), item + " play 0"};
}

strings join(std::initializer_list<strings> parts) {
    strings all;
    for (const strings &p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

struct playcase {
    const char *what;
    bool soundson;
    std::uint8_t lastoctave;
    std::int32_t lastduration;
    std::vector<double> notes;
    double duration;
    double octave;
    strings calls;
    std::uint8_t octaveafter;
    std::int32_t durationafter;
};

void PrintTo(const playcase &c, std::ostream *os) {
    *os << c.what;
}

class playnotesrules : public ::testing::TestWithParam<playcase> {};

TEST_P(playnotesrules, startsstopsandremembers) {
    const playcase &c = GetParam();
    fakewavelist waves(allitems());
    soundcommands sounds(waves);
    sounds.zumirasounds = c.soundson;
    sounds.sndvolume = -300;
    sounds.lastoctave = c.lastoctave;
    sounds.lastduration = c.lastduration;

    sounds.playnotes(c.notes, c.duration, c.octave);

    EXPECT_EQ(waves.calls, c.calls);
    EXPECT_EQ(sounds.lastoctave, c.octaveafter);
    EXPECT_EQ(sounds.lastduration, c.durationafter);
    EXPECT_FALSE(sounds.tonewait);
    EXPECT_FALSE(sounds.tonetimer().isActive());
}

INSTANTIATE_TEST_SUITE_P(
    table, playnotesrules,
    ::testing::Values(playcase{"chord starts together, stops in the same order",
                               true,
                               1,
                               1,
                               {400, 600},
                               5,
                               4,
                               join({started("snd14", 25600, -300),
                                     started("snd24", 38400, -300),
                                     {"snd14 stop", "snd24 stop"}}),
                               4,
                               5},
                      playcase{"octave above 9 keeps the last octave",
                               true,
                               3,
                               7,
                               {40},
                               5,
                               10,
                               join({started("snd13", 2560, -300), {"snd13 stop"}}),
                               3,
                               5},
                      playcase{"negative duration keeps the last duration",
                               true,
                               1,
                               6,
                               {1000},
                               -1,
                               1,
                               join({started("snd11", 64000, -300), {"snd11 stop"}}),
                               1,
                               6},
                      playcase{"note 0 plays at 128 samples per second",
                               true,
                               1,
                               1,
                               {0},
                               3,
                               0,
                               join({started("snd10", 128, -300), {"snd10 stop"}}),
                               0,
                               3},
                      playcase{"fractions truncate toward zero",
                               true,
                               1,
                               1,
                               {40.9, 2.5},
                               4.8,
                               3.9,
                               join({started("snd13", 2560, -300),
                                     started("snd23", 128, -300),
                                     {"snd13 stop", "snd23 stop"}}),
                               3,
                               4},
                      playcase{"octave 9.5 is above 9",
                               true,
                               5,
                               1,
                               {300, 450},
                               2,
                               9.5,
                               join({started("snd15", 19200, -300),
                                     started("snd25", 28800, -300),
                                     {"snd15 stop", "snd25 stop"}}),
                               5,
                               2},
                      playcase{"sounds off: nothing played, nothing remembered",
                               false,
                               5,
                               9,
                               {400, 600},
                               50,
                               3,
                               {},
                               5,
                               9}),
    [](const auto &info) { return casename(info.param.what); });

TEST(playnotes, resetrunbringsbackoctaveanddurationone) {
    fakewavelist waves(allitems());
    soundcommands sounds(waves);
    sounds.playnotes({400}, 3, 4);
    sounds.resetrun();
    waves.calls.clear();
    sounds.playnotes({2000}, -1, 10);
    EXPECT_EQ(waves.calls, join({started("snd11", 128000, 0), {"snd11 stop"}}));
    EXPECT_EQ(sounds.lastduration, 1);
}

TEST(playnotes, waitsforitsdurationinthemessageloop) {
    fakewavelist waves(allitems());
    soundcommands sounds(waves);
    bool delivered = false; // an event posted before the call arrives during the wait
    QTimer::singleShot(0, [&] { delivered = true; });
    const auto start = steady::now();
    sounds.playnotes({400, 600}, 50, 4);
    const auto took = steady::now() - start;
    EXPECT_TRUE(delivered);
    EXPECT_GE(took, std::chrono::milliseconds(50));
    EXPECT_LT(took, std::chrono::milliseconds(250));
}

TEST(playnotes, durationzerowaitsforakey) {
    fakewavelist waves(allitems());
    soundcommands sounds(waves);
    bool timerran = true;
    QTimer::singleShot(60, [&] {
        timerran = sounds.tonetimer().isActive();
        sounds.endtonewait(); // what a key-down in the main window does
    });
    const auto start = steady::now();
    sounds.playnotes({10}, 0, 0);
    EXPECT_GE(steady::now() - start, std::chrono::milliseconds(60));
    EXPECT_FALSE(timerran);
    EXPECT_EQ(waves.calls.back(), "snd10 stop");
}

TEST(playnotes, keyendsthetonesearly) {
    fakewavelist waves(allitems());
    soundcommands sounds(waves);
    QTimer::singleShot(20, [&] { sounds.endtonewait(); });
    const auto start = steady::now();
    sounds.playnotes({400}, 5000, 3);
    EXPECT_LT(steady::now() - start, std::chrono::milliseconds(1000));
    EXPECT_FALSE(sounds.tonetimer().isActive());
}

TEST(playnotes, missingitemraisesthelookuperrorandsilencesthechord) {
    fakewavelist waves({"snd14", "snd24"});
    soundcommands sounds(waves);
    try {
        sounds.playnotes({300, 280, 260}, 50, 4);
        FAIL() << "no error";
    } catch (const audio::wavenotfound &e) {
        EXPECT_STREQ(e.what(), "Wave 'snd34' not found");
    }
    EXPECT_EQ(waves.calls, join({started("snd14", 19200, 0),
                                 started("snd24", 17920, 0),
                                 {"snd14 stop", "snd24 stop"}}));
    EXPECT_FALSE(sounds.tonewait);
    EXPECT_EQ(sounds.lastoctave, 4);
}

TEST(playnotes, negativeoctaveisanitemthefiledoesnothold) {
    fakewavelist waves(allitems());
    soundcommands sounds(waves);
    EXPECT_THROW(
        {
            try {
                sounds.playnotes({400}, 50, -1);
            } catch (const audio::wavenotfound &e) {
                EXPECT_STREQ(e.what(), "Wave 'snd1-1' not found");
                throw;
            }
        },
        audio::wavenotfound);
}

struct oneshotcase {
    const char *what;
    bool soundson;
    double click; // < -1000: the beep
    strings calls;
};

void PrintTo(const oneshotcase &c, std::ostream *os) {
    *os << c.what;
}

class beepandclick : public ::testing::TestWithParam<oneshotcase> {};

TEST_P(beepandclick, playtotheendwithoutturningthemessageloop) {
    const oneshotcase &c = GetParam();
    fakewavelist waves(allitems());
    waves.playms = 5;
    soundcommands sounds(waves);
    sounds.zumirasounds = c.soundson;
    sounds.sndvolume = -1200;
    bool delivered = false;
    QTimer::singleShot(0, [&] { delivered = true; });
    if (c.click < -1000)
        sounds.beep();
    else
        sounds.click(c.click);
    EXPECT_EQ(waves.calls, c.calls);
    EXPECT_FALSE(delivered);
    loop::processonce(); // let the pending timer go before the next case
}

INSTANTIATE_TEST_SUITE_P(
    table, beepandclick,
    ::testing::Values(
        oneshotcase{"beep", true, -2000, {"beep volume -1200", "beep play 1"}},
        oneshotcase{"click 9.7 plays click9", true, 9.7, {"click9 volume -1200", "click9 play 1"}},
        oneshotcase{
            "click -0.5 plays click0", true, -0.5, {"click0 volume -1200", "click0 play 1"}},
        oneshotcase{"sounds off: no beep", false, -2000, {}},
        oneshotcase{"sounds off: no click", false, 9, {}}),
    [](const auto &info) { return casename(info.param.what); });

TEST(click, missingclickendswiththelookuperror) {
    fakewavelist waves(allitems());
    soundcommands sounds(waves);
    try {
        sounds.click(21);
        FAIL() << "no error";
    } catch (const audio::wavenotfound &e) {
        EXPECT_STREQ(e.what(), "Wave 'click21' not found");
    }
}

TEST(loadsounds, missingdamagedandgoodfiles) {
    QTemporaryDir dir;
    const std::string good = dir.filePath("good.dat").toStdString();
    const std::string bad = dir.filePath("bad.dat").toStdString();
    audio::soundfile::write(good, {{"beep", 8000, {1, 2, 3}}, {"click9", 8000, {4}}});
    {
        std::vector<unsigned char> bytes = audio::soundfile::encode({{"beep", 8000, {1, 2, 3}}});
        bytes.resize(bytes.size() - 1);
        QFile f(QString::fromStdString(bad));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char *>(bytes.data()), qint64(bytes.size()));
    }
    fakewavelist waves({});
    soundcommands sounds(waves);

    EXPECT_EQ(sounds.loadsounds(dir.filePath("none.dat").toStdString()).outcome,
              soundcommands::loadresult::missing);
    const auto damaged = sounds.loadsounds(bad);
    EXPECT_EQ(damaged.outcome, soundcommands::loadresult::damaged);
    EXPECT_NE(damaged.message.find(bad), std::string::npos);
    EXPECT_NE(damaged.message.find("truncated"), std::string::npos);
    EXPECT_EQ(sounds.loadsounds(good).outcome, soundcommands::loadresult::loaded);
    EXPECT_TRUE(waves.holds("click9"));
}

} // namespace
