#include "platform/codepage/cp1250.h"
#include "speech/capitals.h"
#include "speech/speechfront.h"
#include "tests/unit/speech/fakeengines.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A front with a fake engine of each kind, both ready; the tone is written to the same journal.
struct front : ::testing::Test {
    void SetUp() override {
        speech.flags.voiceallowed = true;
        speech.flags.engineready = true;
        engine4.Register(&speech.notifysink, &key);
        speech.engine4 = &engine4;
        speech.voice5 = &voice5;
        QObject::connect(&voice5, &tts5::automationvoice::StartStream,
                         [this] { speech.voice5StartStream(); });
        QObject::connect(&voice5, &tts5::automationvoice::EndStream,
                         [this] { speech.voice5EndStream(); });
        speech.tone = [this](double note, double duration, double octave) {
            log.calls.push_back("tone " + std::to_string(int(note)) + " " +
                                std::to_string(int(duration)) + " " + std::to_string(int(octave)));
        };
    }
    void usesapi5() { speech.flags.usesapi5 = true; }
    // Runs f after ms on the event loop (inside whatever wait is then running).
    static void at(int ms, std::function<void()> f) { QTimer::singleShot(ms, Qt::PreciseTimer, f); }

    fakespeech::journal log;
    fakespeech::ranges r;
    fakespeech::engine engine4{log, r, 60};
    fakespeech::voice voice5{log, 60};
    std::uint32_t key = 0;
    speechfront speech;
};

TEST_F(front, saywaitsfortheendoftheaudioinbothengines) {
    for (bool sapi5 : {false, true}) {
        speech.flags.usesapi5 = sapi5;
        QElapsedTimer clock;
        clock.start();
        speech.say("Vlak");
        EXPECT_GE(clock.elapsed(), 55) << sapi5;
        EXPECT_LT(clock.elapsed(), 1000) << sapi5;
        EXPECT_FALSE(speech.flags.sapi4speaking);
        EXPECT_FALSE(speech.flags.sapi5speaking);
    }
    EXPECT_EQ(log.calls, (std::vector<std::string>{"TextData Vlak", "Speak 1 Vlak"}));
}

TEST_F(front, emptyandforbiddentexts) {
    struct row {
        bool sapi5, allowed;
        const char *text;
        std::vector<std::string> bysay, bysayasync;
    };
    for (const row &c : {
             row{false, true, "", {}, {}},
             row{true, true, "", {}, {"Speak 1 "}},
             row{false, false, "x", {}, {}},
             row{true, false, "x", {"Speak 1 x"}, {"Speak 1 x"}},
         }) {
        speech.flags.usesapi5 = c.sapi5;
        speech.flags.voiceallowed = c.allowed;
        log.calls.clear();
        QElapsedTimer clock;
        clock.start();
        speech.say(c.text);
        EXPECT_EQ(log.calls, c.bysay) << c.sapi5 << c.allowed;
        if (c.bysay.empty()) {
            EXPECT_LT(clock.elapsed(), 30) << "returns at once";
        }
        log.calls.clear();
        speech.sayasync(c.text);
        EXPECT_EQ(log.calls, c.bysayasync) << c.sapi5 << c.allowed;
        speech.stopspeech();
    }
}

TEST_F(front, sayasyncreturnsatonce) {
    QElapsedTimer clock;
    clock.start();
    speech.sayasync("Tunel");
    EXPECT_LT(clock.elapsed(), 30);
    EXPECT_TRUE(speech.flags.sapi4speaking);
    usesapi5();
    speech.sayasync("");
    EXPECT_EQ(log.calls, (std::vector<std::string>{"TextData Tunel", "Speak 1 "}));
}

TEST_F(front, withoutanengineobjectsayissilent) {
    speech.engine4 = nullptr;
    speech.say("Most");
    speech.sayasync("Most");
    speech.stopspeech();
    EXPECT_TRUE(log.calls.empty());
}

// A handler inside the outer wait speaks again and a later key stops the speech: the first end
// of audio ends both waits, the inner one first.
TEST_F(front, nestedwaitsendtogetherononeflag) {
    for (bool sapi5 : {false, true}) {
        speech.flags.usesapi5 = sapi5;
        engine4.speakms = voice5.speakms = 10000;
        std::vector<std::string> order;
        at(10, [&] {
            speech.say("vnútri");
            order.push_back("inner");
        });
        at(40, [&] { speech.stopspeech(); });
        QElapsedTimer clock;
        clock.start();
        speech.say("vonku");
        order.push_back("outer");
        EXPECT_LT(clock.elapsed(), 500) << sapi5;
        EXPECT_EQ(order, (std::vector<std::string>{"inner", "outer"})) << sapi5;
    }
}

TEST_F(front, stopspeechcases) {
    struct row {
        bool sapi5, ready, speaking;
        const char *call;
    };
    for (const row &c : {row{false, true, true, "AudioReset"}, row{false, true, false, ""},
                         row{false, false, true, ""}, row{true, true, false, "Speak 2 "}}) {
        log.calls.clear();
        speech.flags.usesapi5 = c.sapi5;
        if (c.speaking)
            speech.sayasync("dlhý text");
        speech.flags.engineready = c.ready;
        log.calls.clear();
        speech.stopspeech();
        EXPECT_EQ(log.calls,
                  c.call[0] ? std::vector<std::string>{c.call} : std::vector<std::string>{})
            << c.sapi5 << c.ready << c.speaking;
        engine4.stop();
    }
}

TEST_F(front, echokey) {
    // Names are Windows-1250, as the key-echo file holds them.
    const auto cp = codepage::utf8tocp1250;
    speech.echokeys[0] = {'a', cp("malé a")};
    speech.echokeys[1] = {'A', cp("veľké a")};
    speech.echokeys[2] = {'\x8E', cp("veľké ž")};
    speech.echokeys[3] = {'\xA7', "paragraf"};
    speech.echokeys[4] = {'B', ""};
    speech.echokeys[5] = {'a', "druhé a"};
    struct row {
        const char *key;
        std::vector<std::string> calls;
    };
    for (const row &c : {
             row{"A", {"tone 2000 20 1", "TextData " + cp("veľké a")}},
             row{"a", {"TextData " + cp("malé a")}},
             row{"\x8E", {"tone 2000 20 1", "TextData " + cp("veľké ž")}},
             row{"\xA7", {"TextData paragraf"}},
             row{"Aa", {"TextData " + cp("veľké a")}},
             row{"B", {"tone 2000 20 1"}},
             row{"C", {"tone 2000 20 1"}},
             row{"", {}},
         }) {
        log.calls.clear();
        speech.echokey(c.key);
        EXPECT_EQ(log.calls, c.calls) << c.key;
        EXPECT_FALSE(speech.flags.sapi4speaking) << "echokey waits like say";
    }
    log.calls.clear();
    speech.echokey(std::string(1, '\0'));
    speech.flags.engineready = false;
    speech.echokey("A");
    EXPECT_TRUE(log.calls.empty());

    speech.flags.engineready = true;
    usesapi5();
    QElapsedTimer clock;
    clock.start();
    speech.echokey("a");
    EXPECT_LT(clock.elapsed(), 30) << "the system voice is not waited for";
    EXPECT_EQ(log.calls, (std::vector<std::string>{"Speak 9 malé a"}));
}

TEST_F(front, echokeyfindsnothinginanemptytable) {
    speech.echokey("x");
    speech.echokey("X");
    EXPECT_EQ(log.calls, (std::vector<std::string>{"tone 2000 20 1"}));
}

TEST(iscapital, everytable) {
    for (int t = 0; t < capitals::tablecount; ++t) {
        const std::string pairs(capitals::letterpairs[t]);
        ASSERT_EQ(pairs.size(), 45u) << t;
        for (int i = 0; i < 44; ++i) {
            const char c = pairs[std::size_t(i)];
            if (static_cast<unsigned char>(c) < 128)
                continue; // unaccented stand-ins follow the A to Z rule
            EXPECT_EQ(iscapital(c, t), i % 2 == 1) << "table " << t << " position " << i + 1;
        }
        EXPECT_FALSE(iscapital(pairs[44], t)) << t;
        for (int c = 0; c < 128; ++c)
            EXPECT_EQ(iscapital(char(c), t), c >= 'A' && c <= 'Z') << t << " " << c;
    }
    // Windows-1250: every capital of the pairs, and nothing else of 128 and above.
    const std::string caps =
        "\xC1\xC4\xC8\xCF\xC9\xCC\xCD\xC5\xBC\xD2\xD3\xD4\xD6\xC0\xD8\x8A\x8D\xDA\xD9\xDC\xDD\x8E";
    for (int c = 128; c < 256; ++c)
        EXPECT_EQ(iscapital(char(c), 2), caps.find(char(c)) != std::string::npos) << c;
}

} // namespace
