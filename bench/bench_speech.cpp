// Speech latencies at the audio stream: print-to-first-audio of the embedded engine with and
// without the leading-silence trim, key-to-silence (AudioReset), and the same two figures for
// speech-dispatcher when a daemon answers.
#include "platform/audio/pcmstream.h"
#include "platform/codepage/cp1250.h"
#include "platform/loop/loop.h"
#include "platform/tts4/espeakengine.h"
#include "platform/tts5/tts5.h"
#include "tests/unit/speech/speechfakes.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Notes when the first audible sample of an utterance would sound: the time it was queued plus
// the samples ahead of it. Plays out in real time like the tests' stream.
class timingstream : public speechtest::recordingstream {
  public:
    void arm() {
        ahead = 0;
        firstaudiblems = -1;
    }
    void queue(const std::int16_t *s, std::size_t n, int rate) override {
        if (firstaudiblems < 0) {
            const std::int16_t *loud =
                std::find_if(s, s + n, [](std::int16_t v) { return std::abs(v) >= 64; });
            if (loud != s + n)
                firstaudiblems =
                    clock.nsecsElapsed() / 1e6 + 1000.0 * double(ahead + (loud - s)) / rate;
            else
                ahead += n;
        }
        recordingstream::queue(s, n, rate);
    }

    double firstaudiblems = -1;

  private:
    std::size_t ahead = 0;
};

class sink : public tts4::notifysink {
  public:
    void AudioStart(std::uint64_t) override { speaking = true; }
    void AudioStop(std::uint64_t) override {
        speaking = false;
        stopms = clock ? clock->nsecsElapsed() / 1e6 : 0;
    }
    bool speaking = false;
    double stopms = 0;
    QElapsedTimer *clock = nullptr;
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void report(const char *what, const std::vector<double> &v) {
    std::printf("%-52s median %7.2f ms  min %7.2f  max %7.2f  (n=%zu)\n", what, median(v),
                v.empty() ? 0 : *std::min_element(v.begin(), v.end()),
                v.empty() ? 0 : *std::max_element(v.begin(), v.end()), v.size());
}

const char *texts[] = {"Vlak odchádza zo stanice.",
                       "Nastúpilo päť cestujúcich.",
                       "Ďalšia zastávka: Žilina.",
                       "Koľko cestujúcich vystúpilo?",
                       "Tunel.",
                       "Most.",
                       "Železničné priecestie.",
                       "Výborne!"};

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int rounds = 5;

    auto modes = tts4::createenumerator();
    if (!modes) {
        std::printf("espeak-ng unavailable\n");
        return 1;
    }
    tts4::modeinfo slovak;
    std::uint32_t fetched = 0;
    modes->Reset();
    modes->Next(1, &slovak, &fetched);
    timingstream out;
    std::unique_ptr<tts4::central> engine;
    modes->Select(slovak.gModeID, &engine, &out);
    sink s;
    s.clock = &out.clock;
    std::uint32_t key = 0;
    engine->Register(&s, &key);
    auto &knobs = dynamic_cast<tts4::espeakengine &>(*engine);

    for (bool trim : {false, true}) {
        knobs.settrimsilence(trim);
        std::vector<double> latency;
        for (int r = 0; r < rounds; ++r) {
            for (const char *t : texts) {
                const std::string text = codepage::utf8tocp1250(t);
                out.arm();
                const double t0 = out.clock.nsecsElapsed() / 1e6;
                engine->TextData(0, 0, text.c_str(), text.size() + 1);
                loop::waituntil([&] { return out.firstaudiblems >= 0; }, 2000);
                latency.push_back(out.firstaudiblems - t0);
                engine->AudioReset(); // no need to hear it out
            }
        }
        report(trim ? "embedded: print to first audio, silence trimmed"
                    : "embedded: print to first audio, untrimmed",
               latency);
    }

    knobs.settrimsilence(true);
    std::vector<double> stop;
    for (int r = 0; r < 20; ++r) {
        const std::string text = codepage::utf8tocp1250(texts[r % 8]);
        engine->TextData(0, 0, text.c_str(), text.size() + 1);
        loop::waituntil([] { return false; }, 60 + 7 * r);
        const double t0 = out.clock.nsecsElapsed() / 1e6;
        engine->AudioReset();
        const double silent = out.playing() ? 1e9 : out.clock.nsecsElapsed() / 1e6;
        stop.push_back(std::max(s.stopms, silent) - t0);
    }
    report("embedded: key to silence (AudioReset to AudioStop)", stop);

    tts5::options o;
    o.autospawn = false;
    auto voice = tts5::createvoice(&out, o);
    voice->setEventInterests(tts5::sveallevents);
    if (!tts5::usesdaemon(*voice)) {
        std::printf("speech-dispatcher: no daemon reachable, skipped\n");
        return 0;
    }
    int started = 0, ended = 0;
    double startms = 0, endms = 0;
    QObject::connect(voice.get(), &tts5::automationvoice::StartStream, [&](int n, qint64) {
        started = n;
        startms = out.clock.nsecsElapsed() / 1e6;
    });
    QObject::connect(voice.get(), &tts5::automationvoice::EndStream, [&](int n, qint64) {
        ended = n;
        endms = out.clock.nsecsElapsed() / 1e6;
    });
    std::vector<double> begin, cut;
    for (int r = 0; r < 10; ++r) {
        int n = 0;
        const double t0 = out.clock.nsecsElapsed() / 1e6;
        voice->Speak(QString::fromUtf8(texts[r % 8]), tts5::svsflagsasync, &n);
        if (!loop::waituntil([&] { return started == n; }, 3000))
            continue;
        begin.push_back(startms - t0);
        loop::waituntil([] { return false; }, 100);
        const double t1 = out.clock.nsecsElapsed() / 1e6;
        voice->Speak("", tts5::svsfpurgebeforespeak);
        if (ended == n)
            cut.push_back(endms - t1);
    }
    report("speech-dispatcher: speak to start-of-stream", begin);
    report("speech-dispatcher: purge to end-of-stream", cut);
    return 0;
}
