#pragma once

#include "platform/tts4/tts4.h"
#include "platform/tts5/tts5.h"

#include <QTimer>
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

// Engines that speak nothing: they record what they are given and report the start and end of
// their "audio" as the real ones do, the end after a set time on the UI thread's event loop.
namespace fakespeech {

struct journal {
    std::vector<std::string> calls; // "TextData <text>", "Inject <tags>", "AudioReset", ...
    int count(const std::string &prefix) const {
        return int(std::count_if(calls.begin(), calls.end(), [&](const std::string &c) {
            return c.compare(0, prefix.size(), prefix) == 0;
        }));
    }
    std::vector<std::string> with(const std::string &prefix) const {
        std::vector<std::string> out;
        for (const std::string &c : calls)
            if (c.compare(0, prefix.size(), prefix) == 0)
                out.push_back(c.substr(prefix.size()));
        return out;
    }
};

// Attribute ranges of a fake engine; an attribute may be missing (e_notimpl).
struct ranges {
    bool speed = true, pitch = true, volume = true;
    std::uint32_t speedmin = 80, speedmax = 450, speedcur = 175;
    std::uint16_t pitchmin = 0, pitchmax = 99, pitchcur = 50;
    std::uint32_t volumemin = 0, volumemax = 0xFFFFFFFF, volumecur = 0xFF00FF00;
};

class attributes : public tts4::attributes {
  public:
    explicit attributes(const ranges &r)
        : r(r), speed(r.speedcur), pitch(r.pitchcur), volume(r.volumecur) {}
    tts4::hresult PitchGet(std::uint16_t *v) override {
        return r.pitch ? (*v = pitch, 0) : tts4::e_notimpl;
    }
    tts4::hresult PitchSet(std::uint16_t v) override {
        return r.pitch ? (pitch = std::clamp(v, r.pitchmin, r.pitchmax), 0) : tts4::e_notimpl;
    }
    tts4::hresult SpeedGet(std::uint32_t *v) override {
        return r.speed ? (*v = speed, 0) : tts4::e_notimpl;
    }
    tts4::hresult SpeedSet(std::uint32_t v) override {
        return r.speed ? (speed = std::clamp(v, r.speedmin, r.speedmax), 0) : tts4::e_notimpl;
    }
    tts4::hresult VolumeGet(std::uint32_t *v) override {
        return r.volume ? (*v = volume, 0) : tts4::e_notimpl;
    }
    tts4::hresult VolumeSet(std::uint32_t v) override {
        return r.volume ? (volume = std::clamp(v, r.volumemin, r.volumemax), 0) : tts4::e_notimpl;
    }
    ranges r;
    std::uint32_t speed;
    std::uint16_t pitch;
    std::uint32_t volume;
};

class engine : public tts4::central {
  public:
    engine(journal &log, const ranges &r, int speakms) : log(log), attrs(r), speakms(speakms) {
        end.setSingleShot(true);
        QObject::connect(&end, &QTimer::timeout, [this] { stop(); });
    }
    ~engine() override { stop(); }
    tts4::hresult TextData(std::uint32_t, std::uint32_t, const char *data,
                           std::size_t size) override {
        log.calls.push_back("TextData " + std::string(data, strnlen(data, size)));
        if (!speaking) {
            speaking = true;
            for (tts4::notifysink *s : sinks)
                s->AudioStart(0);
        }
        end.start(speakms);
        return 0;
    }
    tts4::hresult Inject(const char *tags) override {
        log.calls.push_back("Inject " + std::string(tags));
        return 0;
    }
    tts4::hresult AudioReset() override {
        log.calls.push_back("AudioReset");
        stop();
        return 0;
    }
    tts4::hresult Register(tts4::notifysink *sink, std::uint32_t *key) override {
        sinks.push_back(sink);
        *key = std::uint32_t(sinks.size());
        return 0;
    }
    tts4::hresult UnRegister(std::uint32_t) override {
        stop();
        sinks.clear();
        return 0;
    }
    tts4::hresult QueryAttributes(tts4::attributes **out) override {
        *out = &attrs;
        return 0;
    }
    void stop() {
        end.stop();
        if (!speaking)
            return;
        speaking = false;
        for (tts4::notifysink *s : sinks)
            s->AudioStop(0);
    }

    journal &log;
    attributes attrs;
    int speakms;
    bool speaking = false;
    std::vector<tts4::notifysink *> sinks;
    QTimer end;
};

class enumerator : public tts4::enumerator {
  public:
    enumerator(journal &log, std::vector<std::string> names, ranges r = {}, int speakms = 1)
        : log(log), r(r), speakms(speakms) {
        for (const std::string &n : names)
            modes.push_back({QUuid::createUuid(), n, "sk", n});
    }
    tts4::hresult Reset() override {
        at = 0;
        return 0;
    }
    tts4::hresult Next(std::uint32_t count, tts4::modeinfo *out, std::uint32_t *fetched) override {
        *fetched = 0;
        while (*fetched < count && at < modes.size())
            out[(*fetched)++] = modes[at++];
        return *fetched == count ? 0 : tts4::s_false;
    }
    tts4::hresult Select(const QUuid &id, std::unique_ptr<tts4::central> *out,
                         audio::pcmstream *) override {
        const auto it = std::find_if(modes.begin(), modes.end(),
                                     [&](const tts4::modeinfo &m) { return m.gModeID == id; });
        if (it == modes.end())
            return tts4::e_unknownmode;
        log.calls.push_back("Select " + it->szModeName);
        auto e = std::make_unique<engine>(log, r, speakms);
        last = e.get();
        *out = std::move(e);
        return 0;
    }
    journal &log;
    ranges r;
    int speakms;
    std::vector<tts4::modeinfo> modes;
    std::size_t at = 0;
    engine *last = nullptr;
};

// The system voice: each utterance begins at once and ends after speakms; purge ends them all.
class voice : public tts5::automationvoice {
  public:
    voice(journal &log, int speakms) : log(log), speakms(speakms) {}
    tts4::hresult setEventInterests(std::uint32_t) override { return 0; }
    tts4::hresult Speak(const QString &text, std::uint32_t flags, int *stream) override {
        log.calls.push_back("Speak " + std::to_string(flags) + " " + text.toStdString());
        if (flags & tts5::svsfpurgebeforespeak) {
            for (int n : live)
                emit EndStream(n, 0);
            live.clear();
        }
        const int n = next++;
        if (stream)
            *stream = n;
        if (text.isEmpty())
            return 0;
        live.push_back(n);
        QTimer::singleShot(0, this, [this, n] {
            if (std::find(live.begin(), live.end(), n) != live.end())
                emit StartStream(n, 0);
        });
        QTimer::singleShot(speakms, this, [this, n] {
            const auto it = std::find(live.begin(), live.end(), n);
            if (it == live.end())
                return;
            live.erase(it);
            emit EndStream(n, 0);
        });
        return 0;
    }
    journal &log;
    int speakms;
    int next = 1;
    std::vector<int> live;
};

} // namespace fakespeech
