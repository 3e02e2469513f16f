#include "platform/codepage/cp1250.h"
#include "platform/tts4/espeakengine.h"
#include "tests/unit/speech/speechfakes.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

using namespace speechtest;

namespace {

std::vector<tts4::modeinfo> allmodes(tts4::enumerator &e) {
    std::vector<tts4::modeinfo> modes;
    e.Reset();
    tts4::modeinfo m;
    std::uint32_t fetched = 0;
    while (e.Next(1, &m, &fetched) == tts4::s_ok && fetched == 1)
        modes.push_back(m);
    return modes;
}

// One engine of the given voice on a recording stream, with a counting sink registered.
struct rig {
    explicit rig(const char *language = "sk", double speedup = 50.0) : out(speedup) {
        tts4::hresult error = tts4::s_ok;
        modes = tts4::createenumerator(&error);
        if (!modes)
            return;
        for (const tts4::modeinfo &m : allmodes(*modes)) {
            if (m.language == language) {
                EXPECT_EQ(modes->Select(m.gModeID, &engine, &out), tts4::s_ok);
                break;
            }
        }
        if (engine) {
            EXPECT_EQ(engine->Register(&sink, &key), tts4::s_ok);
        }
    }
    tts4::hresult say(const std::string &cp1250) {
        return engine->TextData(0, 0, cp1250.c_str(), cp1250.size() + 1);
    }
    bool waitstop(int ms = 10000) {
        return loop::waituntil([this] { return !sink.speaking; }, ms);
    }
    // Speaks and returns the audio it produced.
    std::vector<std::int16_t> record(const std::string &cp1250) {
        out.samples.clear();
        EXPECT_EQ(say(cp1250), tts4::s_ok);
        EXPECT_TRUE(waitstop());
        return out.samples;
    }

    recordingstream out;
    std::unique_ptr<tts4::enumerator> modes;
    std::unique_ptr<tts4::central> engine;
    countingsink sink;
    std::uint32_t key = 0;
};

const std::string sentence =
    codepage::utf8tocp1250("Dobrý deň, toto je krátka veta na otestovanie rýchlosti syntézy.");

int peak(const std::vector<std::int16_t> &s) {
    int p = 0;
    for (std::int16_t v : s)
        p = std::max(p, std::abs(int(v)));
    return p;
}

// Samples from the first to the last sound above silence: the end pause varies with the
// synthesiser's state, the speech itself does not.
std::size_t span(const std::vector<std::int16_t> &s) {
    const auto loud = [](std::int16_t v) { return std::abs(int(v)) >= 64; };
    const auto first = std::find_if(s.begin(), s.end(), loud);
    const auto last = std::find_if(s.rbegin(), s.rend(), loud);
    return first == s.end() ? 0 : std::size_t((s.rend() - last) - (first - s.begin()));
}

// Median fundamental frequency of the voiced 40 ms frames, by autocorrelation over 60-400 Hz.
double medianpitch(const std::vector<std::int16_t> &s, int rate) {
    const int frame = rate / 25, minlag = rate / 400, maxlag = rate / 60;
    std::vector<double> found;
    for (std::size_t at = 0; at + frame + maxlag < s.size(); at += frame / 2) {
        double energy = 0;
        for (int i = 0; i < frame; ++i)
            energy += double(s[at + i]) * s[at + i];
        if (energy / frame < 1e6) // quieter than about -30 dBFS: not voiced
            continue;
        double best = 0;
        int bestlag = 0;
        for (int lag = minlag; lag <= maxlag; ++lag) {
            double c = 0, e2 = 0;
            for (int i = 0; i < frame; ++i) {
                c += double(s[at + i]) * s[at + i + lag];
                e2 += double(s[at + i + lag]) * s[at + i + lag];
            }
            const double r = c / std::sqrt(energy * e2 + 1);
            if (r > best) {
                best = r;
                bestlag = lag;
            }
        }
        if (best > 0.6)
            found.push_back(double(rate) / bestlag);
    }
    if (found.empty())
        return 0;
    std::nth_element(found.begin(), found.begin() + found.size() / 2, found.end());
    return found[found.size() / 2];
}

} // namespace

TEST(tts4, listsslovakthenczechthenenglishthentherestbyname) {
    auto e = tts4::createenumerator();
    ASSERT_TRUE(e);
    const auto modes = allmodes(*e);
    ASSERT_GT(modes.size(), 100u);
    EXPECT_EQ(modes[0].szModeName, "Slovak");
    EXPECT_EQ(modes[1].szModeName, "Czech");
    std::size_t i = 2;
    while (i < modes.size() && modes[i].language.rfind("en", 0) == 0)
        ++i;
    EXPECT_GE(i, 4u) << "English voices follow Czech";
    for (std::size_t j = 2; j + 1 < i; ++j)
        EXPECT_LT(modes[j].szModeName, modes[j + 1].szModeName);
    for (std::size_t j = i; j + 1 < modes.size(); ++j) {
        EXPECT_NE(modes[j].language.rfind("en", 0), 0u) << modes[j].szModeName;
        EXPECT_LE(modes[j].szModeName, modes[j + 1].szModeName);
    }
    // Reset starts again from the first; ids are distinct.
    e->Reset();
    tts4::modeinfo first[2];
    std::uint32_t fetched = 0;
    EXPECT_EQ(e->Next(2, first, &fetched), tts4::s_ok);
    EXPECT_EQ(fetched, 2u);
    EXPECT_EQ(first[0].szModeName, "Slovak");
    EXPECT_NE(first[0].gModeID, first[1].gModeID);
}

TEST(tts4, rangesfoundbyprobingasthevoicedialogdoes) {
    rig r;
    ASSERT_TRUE(r.engine);
    tts4::attributes *a = nullptr;
    ASSERT_EQ(r.engine->QueryAttributes(&a), tts4::s_ok);

    std::uint32_t cur = 0, lo = 0, hi = 0;
    a->SpeedGet(&cur);
    EXPECT_EQ(a->SpeedSet(cur), tts4::s_ok);
    a->SpeedSet(0), a->SpeedGet(&lo), a->SpeedSet(0xFFFFFFFF), a->SpeedGet(&hi), a->SpeedSet(cur);
    EXPECT_EQ(lo, 80u);
    EXPECT_EQ(hi, 450u);
    EXPECT_TRUE(cur >= lo && cur <= hi);

    std::uint16_t pcur = 0, plo = 0, phi = 0;
    a->PitchGet(&pcur);
    a->PitchSet(0), a->PitchGet(&plo), a->PitchSet(0xFFFF), a->PitchGet(&phi), a->PitchSet(pcur);
    EXPECT_EQ(plo, 0u);
    EXPECT_EQ(phi, 99u);

    std::uint32_t vcur = 0, vlo = 0, vhi = 0;
    a->VolumeGet(&vcur);
    a->VolumeSet(0), a->VolumeGet(&vlo), a->VolumeSet(0xFFFFFFFF), a->VolumeGet(&vhi);
    a->VolumeSet(vcur);
    // The slider reads bits 8 to 15: 0 to 255, and the default stands at the top.
    EXPECT_EQ((vlo >> 8) & 0xFF, 0u);
    EXPECT_EQ((vhi >> 8) & 0xFF, 255u);
    EXPECT_EQ((vcur >> 8) & 0xFF, 255u);
}

TEST(tts4, injectedtagsarekeptinrangeandmalformedonesrefused) {
    rig r;
    ASSERT_TRUE(r.engine);
    tts4::attributes *a = nullptr;
    r.engine->QueryAttributes(&a);
    struct row {
        const char *tags;
        tts4::hresult result;
        std::uint32_t speed;
        std::uint16_t pitch;
        std::uint32_t volume;
    };
    const row rows[] = {
        {"\\Spd=200\\", tts4::s_ok, 200, 50, 0xFF00FF00},
        {"\\spd=10\\\\PIT=70\\", tts4::s_ok, 80, 70, 0xFF00FF00},
        {"\\Spd=99999\\ \\Pit=500\\", tts4::s_ok, 450, 99, 0xFF00FF00},
        {"\\Vol=32768\\", tts4::s_ok, 175, 50, 0x80008000},
        {"\\Vol=70000\\", tts4::s_ok, 175, 50, 0xFFFFFFFF},
        {"\\Rst\\\\Emp\\\\Vol=0\\", tts4::s_ok, 175, 50, 0},
        {"\\Spd=fast\\", tts4::e_invalidarg, 175, 50, 0xFF00FF00},
        {"Spd=200", tts4::e_invalidarg, 175, 50, 0xFF00FF00},
        {"\\Pit=60\\\\Spd=300", tts4::e_invalidarg, 175, 50, 0xFF00FF00},
    };
    for (const row &x : rows) {
        a->SpeedSet(175), a->PitchSet(50), a->VolumeSet(0xFF00FF00);
        EXPECT_EQ(r.engine->Inject(x.tags), x.result) << x.tags;
        std::uint32_t speed = 0, volume = 0;
        std::uint16_t pitch = 0;
        a->SpeedGet(&speed), a->PitchGet(&pitch), a->VolumeGet(&volume);
        EXPECT_EQ(speed, x.speed) << x.tags;
        EXPECT_EQ(pitch, x.pitch) << x.tags;
        EXPECT_EQ(volume, x.volume) << x.tags;
    }
}

TEST(tts4, tagsaudiblychangerate) {
    rig r;
    ASSERT_TRUE(r.engine);
    r.engine->Inject("\\Spd=100\\");
    const auto slow = r.record(sentence);
    r.engine->Inject("\\Spd=300\\");
    const auto fast = r.record(sentence);
    ASSERT_FALSE(fast.empty());
    const double ratio = double(span(slow)) / double(span(fast));
    EXPECT_GT(ratio, 2.2);
    EXPECT_LT(ratio, 3.6);
}

TEST(tts4, tagsaudiblychangepitch) {
    rig r;
    ASSERT_TRUE(r.engine);
    r.engine->Inject("\\Pit=0\\");
    const auto lowaudio = r.record(sentence);
    r.engine->Inject("\\Pit=99\\");
    const auto highaudio = r.record(sentence);
    const double low = medianpitch(lowaudio, r.out.rate);
    const double high = medianpitch(highaudio, r.out.rate);
    EXPECT_GT(low, 50);
    EXPECT_LT(low, 100);
    EXPECT_GT(high / low, 1.6) << low << " Hz against " << high << " Hz";
}

TEST(tts4, tagsaudiblychangevolumeandthetopneverclips) {
    rig r;
    ASSERT_TRUE(r.engine);
    r.engine->Inject("\\Vol=65280\\"); // the top of the slider
    const int full = peak(r.record(sentence));
    r.engine->Inject("\\Vol=65535\\");
    const auto loudest = r.record(sentence);
    r.engine->Inject("\\Vol=16320\\"); // a quarter of the way up
    const int quarter = peak(r.record(sentence));
    r.engine->Inject("\\Vol=0\\");
    const int none = peak(r.record(sentence));
    EXPECT_GT(full, 20000);
    EXPECT_LT(full, 32767);
    EXPECT_EQ(std::count_if(loudest.begin(), loudest.end(),
                            [](std::int16_t v) { return v == 32767 || v == -32768; }),
              0)
        << "the top level never clips";
    EXPECT_NEAR(double(quarter) / full, 0.25, 0.06);
    EXPECT_LT(none, 64);
}

TEST(tts4, audioresetendstheaudioatonce) {
    rig r("sk", 1.0); // real time, so there is audio left to cut
    ASSERT_TRUE(r.engine);
    ASSERT_EQ(r.say(sentence + sentence + sentence), tts4::s_ok);
    ASSERT_TRUE(loop::waituntil([&] { return r.out.writes > 0; }, 2000));
    loop::waituntil([] { return false; }, 150);
    ASSERT_TRUE(r.out.playing());

    QElapsedTimer t;
    t.start();
    EXPECT_EQ(r.engine->AudioReset(), tts4::s_ok);
    const double ms = t.nsecsElapsed() / 1e6;
    EXPECT_LT(ms, 5.0);
    EXPECT_EQ(r.sink.stops, 1);
    EXPECT_FALSE(r.out.playing());
    const int writes = r.out.writes;
    loop::waituntil([] { return false; }, 200);
    EXPECT_EQ(r.out.writes, writes) << "no audio of the stopped text arrives later";
    EXPECT_EQ(r.sink.starts, 1);
    EXPECT_EQ(r.sink.stops, 1);
}

TEST(tts4, exactlyonestopforeverystart) {
    const std::string shorttext = codepage::utf8tocp1250("Ahoj.");
    struct scenario {
        const char *name;
        std::function<void(rig &)> run;
        int starts;
    };
    const scenario scenarios[] = {
        {"one text", [&](rig &r) { r.say(shorttext); }, 1},
        {"back to back texts share one start",
         [&](rig &r) {
             r.say(shorttext);
             r.say(shorttext);
             r.say(sentence);
         },
         1},
        {"reset in the middle",
         [&](rig &r) {
             r.say(sentence);
             loop::waituntil([&] { return r.out.writes > 0; }, 2000);
             r.engine->AudioReset();
         },
         1},
        {"reset then a new text at once",
         [&](rig &r) {
             r.say(sentence);
             r.engine->AudioReset();
             r.say(shorttext);
         },
         2},
        {"reset while idle does nothing",
         [&](rig &r) {
             r.engine->AudioReset();
             r.say(shorttext);
             r.waitstop();
             r.engine->AudioReset();
         },
         1},
        {"empty text", [&](rig &r) { r.say(""); }, 1},
        {"text after the previous one ended",
         [&](rig &r) {
             r.say(shorttext);
             r.waitstop();
             r.say(shorttext);
         },
         2},
        {"unregister while speaking",
         [&](rig &r) {
             r.say(sentence);
             EXPECT_EQ(r.engine->UnRegister(r.key), tts4::s_ok);
         },
         1},
        {"engine released while speaking",
         [&](rig &r) {
             r.say(sentence);
             r.engine.reset();
         },
         1},
    };
    for (const scenario &s : scenarios) {
        rig r;
        ASSERT_TRUE(r.engine);
        s.run(r);
        EXPECT_TRUE(r.waitstop()) << s.name;
        loop::waituntil([] { return false; }, 100); // nothing more may follow
        EXPECT_EQ(r.sink.starts, s.starts) << s.name;
        EXPECT_EQ(r.sink.stops, s.starts) << s.name;
        EXPECT_EQ(r.sink.faults, 0) << s.name;
    }
}

TEST(tts4, startisdeliveredbeforetextdatareturnsandstopafterplayout) {
    rig r("sk", 4.0);
    ASSERT_TRUE(r.engine);
    ASSERT_EQ(r.say(sentence), tts4::s_ok);
    EXPECT_EQ(r.sink.starts, 1);
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(r.waitstop());
    // The audio lasts about 3.8 s; played four times faster it takes about 0.95 s.
    const double expected = 1000.0 * double(r.out.samples.size()) / r.out.rate / 4.0;
    EXPECT_NEAR(double(t.elapsed()), expected, 60.0);
}

TEST(tts4, leadingsilenceistrimmed) {
    rig r;
    ASSERT_TRUE(r.engine);
    r.record(sentence); // the first utterance of a process pauses differently
    const auto trimmed = r.record(sentence);
    dynamic_cast<tts4::espeakengine &>(*r.engine).settrimsilence(false);
    const auto whole = r.record(sentence);
    ASSERT_GT(trimmed.size(), 100u);
    const auto loud = [](const std::vector<std::int16_t> &s) {
        return std::find_if(s.begin(), s.end(), [](std::int16_t v) { return std::abs(v) >= 64; }) -
               s.begin();
    };
    EXPECT_LE(loud(trimmed), 44);
    EXPECT_GE(loud(whole), 22050 / 100) << "espeak-ng starts with at least 10 ms of silence";
    // Only the silence went: the sound itself is as long (espeak-ng varies it by a few
    // milliseconds from one utterance to the next).
    EXPECT_NEAR(double(span(whole)), double(span(trimmed)), 0.01 * span(whole));
}

// Windows-1250 text reaches the synthesiser as the same words in UTF-8: the audio equals
// espeak-ng's own rendering of the UTF-8 text, and differs from the bytes taken as they are.
TEST(tts4, windows1250textisspokenwiththerightletters) {
    rig r;
    ASSERT_TRUE(r.engine);
    dynamic_cast<tts4::espeakengine &>(*r.engine).settrimsilence(false);
    const char *utf8 = "šťastný žltý ľad";
    const auto ours = r.record(codepage::utf8tocp1250(utf8));

    // espeak-ng's own command, text on standard input in the given encoding (1 UTF-8, 2 the
    // language's 8-bit table).
    const auto reference = [](const std::string &text, const char *encoding) {
        QProcess p;
        QEventLoop wait;
        QObject::connect(&p, &QProcess::finished, &wait, &QEventLoop::quit);
        QObject::connect(&p, &QProcess::errorOccurred, &wait, &QEventLoop::quit);
        p.start("espeak-ng", {"-v", "sk", "--stdout", "-b", encoding});
        p.write(text.data(), qint64(text.size()));
        p.closeWriteChannel();
        if (p.state() != QProcess::NotRunning)
            wait.exec();
        const QByteArray wav = p.readAllStandardOutput();
        std::vector<std::int16_t> s(std::max<qsizetype>(0, (wav.size() - 44) / 2));
        if (!s.empty())
            std::memcpy(s.data(), wav.constData() + 44, s.size() * 2);
        return s;
    };
    const auto right = reference(utf8, "1");
    const auto mangled = reference(codepage::utf8tocp1250(utf8), "2");
    ASSERT_FALSE(right.empty()) << "espeak-ng command missing";
    EXPECT_NEAR(double(span(ours)), double(span(right)), 0.01 * span(right));
    EXPECT_GT(std::abs(double(span(ours)) - double(span(mangled))), 0.05 * span(right));
}

TEST(tts4, badcallsgetclearerrors) {
    rig r;
    ASSERT_TRUE(r.engine);
    std::unique_ptr<tts4::central> none;
    EXPECT_EQ(r.modes->Select(QUuid::createUuid(), &none, &r.out), tts4::e_unknownmode);
    EXPECT_FALSE(none);
    EXPECT_EQ(r.engine->TextData(0, 1, "\\Spd=100\\x", 12), tts4::e_notimpl);
    EXPECT_EQ(r.engine->TextData(1, 0, "x", 2), tts4::e_notimpl);
    EXPECT_EQ(r.engine->TextData(0, 0, nullptr, 0), tts4::e_invalidarg);
    EXPECT_EQ(r.engine->UnRegister(9999), tts4::e_notregistered);
    EXPECT_EQ(r.sink.starts, 0);
    EXPECT_FALSE(tts4::errortext(tts4::e_unknownmode).empty());
}
