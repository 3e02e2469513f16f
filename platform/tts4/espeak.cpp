#include "platform/audio/pcmstream.h"
#include "platform/codepage/cp1250.h"
#include "platform/tts4/espeakengine.h"

#include <QMetaObject>
#include <QObject>
#include <QString>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>
#include <set>
#include <vector>

namespace tts4 {

namespace {

class engineimpl;

// Samples below this magnitude (about -54 dBFS) count as the silence before speech.
constexpr int silencethreshold = 64;
// Kept before the first loud sample so that a soft onset is not clipped (about 2 ms).
constexpr int prerollsamples = 44;

std::uint64_t timestamp() {
    using namespace std::chrono;
    return std::uint64_t(
        duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count() / 100);
}

// The one synthesiser of the process (espeak-ng is a single global instance). Its worker thread
// runs the callback, which only posts to this object on the UI thread. Each utterance carries a
// token in the synthesiser's user data: its id shifted left by one, with the trim bit below.
class synthhost : public QObject {
  public:
    static synthhost *instance(hresult *error);

    int rate = 0;
    // Utterances with an id up to this one are abandoned: the callback aborts them.
    std::atomic<std::uint64_t> cancelupto{0};
    std::uint64_t nextid = 1;
    engineimpl *owner = nullptr; // the engine whose utterances are in the synthesiser
    std::string loadedvoice;

    // Abandons every utterance given so far and waits for the worker to let go (fast: the
    // callback returns 1 at its next chunk). Never called from the callback.
    void cancelall() {
        cancelupto.store(nextid - 1);
        espeak_Cancel();
    }

    hresult loadvoice(const std::string &voiceid) {
        if (voiceid == loadedvoice)
            return s_ok;
        // The voice is switched on this thread, so the worker must be idle first.
        cancelall();
        if (espeak_ng_SetVoiceByName(voiceid.c_str()) != ENS_OK) {
            loadedvoice.clear();
            return e_synthesis;
        }
        loadedvoice = voiceid;
        return s_ok;
    }

  private:
    static int callback(short *wav, int count, espeak_EVENT *events);

    // Touched by the worker thread only: trimming state of the utterance it is synthesising.
    std::uint64_t workerid = 0;
    bool workeraudible = false;
};

class attributesimpl : public attributes {
  public:
    std::uint16_t pitch = 50;
    std::uint32_t speed = 175;
    std::uint32_t volume = fullvolume | (fullvolume << 16);

    hresult PitchGet(std::uint16_t *out) override {
        if (!out)
            return e_invalidarg;
        *out = pitch;
        return s_ok;
    }
    hresult PitchSet(std::uint16_t value) override {
        pitch = std::min(value, maxpitch);
        return s_ok;
    }
    hresult SpeedGet(std::uint32_t *out) override {
        if (!out)
            return e_invalidarg;
        *out = speed;
        return s_ok;
    }
    hresult SpeedSet(std::uint32_t value) override {
        speed = std::clamp(value, minspeed, maxspeed);
        return s_ok;
    }
    hresult VolumeGet(std::uint32_t *out) override {
        if (!out)
            return e_invalidarg;
        *out = volume;
        return s_ok;
    }
    hresult VolumeSet(std::uint32_t value) override {
        volume = value;
        return s_ok;
    }

    // The synthesiser is mono: it plays at the louder channel's level.
    int espeakvolume() const {
        const std::uint32_t level = std::max(volume & 0xFFFF, volume >> 16);
        return int(std::min<std::uint32_t>(100, (level * 100 + fullvolume / 2) / fullvolume));
    }
};

class engineimpl : public espeakengine {
  public:
    engineimpl(synthhost *host, const modeinfo &mode, audio::pcmstream *out)
        : host(host), voiceid(mode.voiceid), out(out) {}

    ~engineimpl() override {
        stopaudio();
        if (host->owner == this)
            release();
    }

    void settrimsilence(bool on) override { trim = on; }

    hresult TextData(std::uint32_t charset, std::uint32_t flags, const char *data,
                     std::size_t size) override {
        if (charset != 0 || flags != 0)
            return e_notimpl;
        if (!data)
            return e_invalidarg;
        const std::string text(data, strnlen(data, size));
        const std::string utf8 = codepage::cp1250toutf8(text);

        if (host->owner != this) {
            // One voice sounds at a time: the engine that spoke before falls silent.
            if (host->owner) {
                host->owner->AudioReset();
                host->owner->release();
            }
            host->owner = this;
            out->setondrained([this] { finishifdone(); });
        }
        if (hresult r = host->loadvoice(voiceid); failed(r))
            return r;
        // Parameters travel through the synthesiser's queue, ahead of the text they govern.
        espeak_ng_SetParameter(espeakRATE, int(attrs.speed), 0);
        espeak_ng_SetParameter(espeakPITCH, int(attrs.pitch), 0);
        espeak_ng_SetParameter(espeakVOLUME, attrs.espeakvolume(), 0);

        const std::uint64_t id = host->nextid++;
        const std::uintptr_t token = std::uintptr_t(id << 1) | (trim ? 1u : 0u);
        const espeak_ng_STATUS status =
            espeak_ng_Synthesize(utf8.c_str(), utf8.size() + 1, 0, POS_CHARACTER, 0,
                                 espeakCHARS_UTF8 | espeakENDPAUSE, nullptr, (void *)token);
        if (status == ENS_FIFO_BUFFER_FULL)
            return e_queuefull;
        if (status != ENS_OK)
            return e_synthesis;
        pending.insert(id);
        if (!speaking) {
            speaking = true;
            const std::uint64_t now = timestamp();
            for (registration &r : sinks) {
                r.started = true;
                r.sink->AudioStart(now);
            }
        }
        return s_ok;
    }

    hresult Inject(const char *tags) override {
        if (!tags)
            return e_invalidarg;
        attributesimpl changed = attrs;
        const std::string text(tags);
        std::size_t at = 0;
        while (at < text.size()) {
            if (text[at] == ' ') {
                ++at;
                continue;
            }
            const std::size_t close = text.find('\\', at + 1);
            if (text[at] != '\\' || close == std::string::npos)
                return e_invalidarg;
            const std::string tag = text.substr(at + 1, close - at - 1);
            at = close + 1;
            const std::size_t eq = tag.find('=');
            if (eq == std::string::npos)
                continue; // a tag without a value, e.g. "\Rst\": not ours
            const QString name = QString::fromLatin1(tag.substr(0, eq)).trimmed().toLower();
            if (name != "spd" && name != "pit" && name != "vol")
                continue;
            bool ok = false;
            const qlonglong value =
                QString::fromLatin1(tag.substr(eq + 1)).trimmed().toLongLong(&ok);
            if (!ok)
                return e_invalidarg;
            const qlonglong level = std::clamp<qlonglong>(value, 0, 0xFFFF);
            if (name == "spd")
                changed.SpeedSet(std::uint32_t(std::clamp<qlonglong>(value, 0, 0xFFFFFFFF)));
            else if (name == "pit")
                changed.PitchSet(std::uint16_t(level));
            else
                changed.VolumeSet(std::uint32_t(level | (level << 16)));
        }
        attrs.pitch = changed.pitch;
        attrs.speed = changed.speed;
        attrs.volume = changed.volume;
        return s_ok;
    }

    hresult AudioReset() override {
        stopaudio();
        return s_ok;
    }

    hresult Register(notifysink *sink, std::uint32_t *key) override {
        if (!sink || !key)
            return e_invalidarg;
        *key = nextkey++;
        sinks.push_back({*key, sink, false});
        return s_ok;
    }

    hresult UnRegister(std::uint32_t key) override {
        const auto it = std::find_if(sinks.begin(), sinks.end(),
                                     [key](const registration &r) { return r.key == key; });
        if (it == sinks.end())
            return e_notregistered;
        const registration gone = *it;
        sinks.erase(it);
        // A sink that heard the start hears the stop, so nobody waits for it forever.
        if (gone.started)
            gone.sink->AudioStop(timestamp());
        return s_ok;
    }

    hresult QueryAttributes(attributes **outattrs) override {
        if (!outattrs)
            return e_invalidarg;
        *outattrs = &attrs;
        return s_ok;
    }

    // From the worker, via the host, on the UI thread.
    void onchunk(std::uint64_t id, const std::vector<std::int16_t> &samples) {
        if (pending.count(id))
            out->queue(samples.data(), samples.size(), host->rate);
    }
    void onend(std::uint64_t id) {
        if (pending.erase(id))
            finishifdone();
    }

    // Gives up the synthesiser to another engine.
    void release() {
        out->setondrained({});
        host->owner = nullptr;
    }

  private:
    struct registration {
        std::uint32_t key;
        notifysink *sink;
        bool started;
    };

    void stopaudio() {
        if (!speaking && pending.empty())
            return;
        if (!pending.empty())
            host->cancelall();
        pending.clear();
        out->clear();
        finish();
    }

    void finishifdone() {
        if (speaking && pending.empty() && !out->playing())
            finish();
    }

    // Delivered last, so a sink may call the engine again at once.
    void finish() {
        if (!speaking)
            return;
        speaking = false;
        const std::uint64_t now = timestamp();
        std::vector<notifysink *> started;
        for (registration &r : sinks) {
            if (r.started)
                started.push_back(r.sink);
            r.started = false;
        }
        for (notifysink *sink : started)
            sink->AudioStop(now);
    }

    synthhost *host;
    std::string voiceid;
    audio::pcmstream *out;
    attributesimpl attrs;
    bool trim = true;
    bool speaking = false;
    std::set<std::uint64_t> pending; // given to the synthesiser, end not yet seen
    std::vector<registration> sinks;
    std::uint32_t nextkey = 1;
};

synthhost *synthhost::instance(hresult *error) {
    static synthhost *host = nullptr;
    static hresult failure = s_ok;
    if (host || failed(failure)) {
        if (error)
            *error = failure;
        return host;
    }
    espeak_ng_InitializePath(nullptr);
    espeak_ng_ERROR_CONTEXT context = nullptr;
    espeak_ng_STATUS status = espeak_ng_Initialize(&context);
    espeak_ng_ClearErrorContext(&context);
    if (status == ENS_OK)
        status = espeak_ng_InitializeOutput(espeak_ng_OUTPUT_MODE(0), 0, nullptr); // retrieval
    if (status != ENS_OK) {
        failure = e_synthesis;
        if (error)
            *error = failure;
        return nullptr;
    }
    // Lives as long as the process: the worker may post to it until the very end.
    host = new synthhost;
    host->rate = espeak_ng_GetSampleRate();
    espeak_SetSynthCallback(&synthhost::callback);
    if (error)
        *error = s_ok;
    return host;
}

// On the synthesiser's worker thread.
int synthhost::callback(short *wav, int count, espeak_EVENT *events) {
    synthhost *host = instance(nullptr);
    const std::uint64_t token = std::uintptr_t(events ? events->user_data : nullptr);
    const std::uint64_t id = token >> 1;
    if (id == 0 || id <= host->cancelupto.load())
        return 1;
    if (!wav) {
        QMetaObject::invokeMethod(
            host,
            [host, id] {
                if (host->owner && id > host->cancelupto.load())
                    host->owner->onend(id);
            },
            Qt::QueuedConnection);
        return 0;
    }
    int from = 0;
    if (host->workerid != id) {
        host->workerid = id;
        host->workeraudible = (token & 1) == 0;
    }
    if (!host->workeraudible) {
        while (from < count && std::abs(int(wav[from])) < silencethreshold)
            ++from;
        if (from == count)
            return 0;
        from = std::max(0, from - prerollsamples);
        host->workeraudible = true;
    }
    if (from >= count)
        return 0;
    std::vector<std::int16_t> samples(wav + from, wav + count);
    QMetaObject::invokeMethod(
        host,
        [host, id, samples = std::move(samples)] {
            if (host->owner && id > host->cancelupto.load())
                host->owner->onchunk(id, samples);
        },
        Qt::QueuedConnection);
    return 0;
}

int languagegroup(const std::string &language) {
    if (language == "sk" || language.rfind("sk-", 0) == 0)
        return 0;
    if (language == "cs" || language.rfind("cs-", 0) == 0)
        return 1;
    if (language == "en" || language.rfind("en-", 0) == 0)
        return 2;
    return 3;
}

class enumeratorimpl : public enumerator {
  public:
    explicit enumeratorimpl(synthhost *host) : host(host) {
        const espeak_VOICE **voices = espeak_ListVoices(nullptr);
        for (int i = 0; voices && voices[i]; ++i) {
            const espeak_VOICE *v = voices[i];
            if (!v->name || !v->identifier || !v->languages)
                continue;
            modeinfo mode;
            mode.voiceid = v->identifier;
            mode.language = v->languages + 1; // after the priority byte
            mode.szModeName = codepage::tocp1250(QString::fromUtf8(v->name).trimmed());
            mode.gModeID = QUuid::createUuidV5(QUuid(), QString::fromUtf8(v->identifier));
            modes.push_back(std::move(mode));
        }
        std::stable_sort(modes.begin(), modes.end(), [](const modeinfo &a, const modeinfo &b) {
            const int ga = languagegroup(a.language), gb = languagegroup(b.language);
            if (ga != gb)
                return ga < gb;
            return a.szModeName < b.szModeName;
        });
    }

    hresult Reset() override {
        position = 0;
        return s_ok;
    }

    hresult Next(std::uint32_t count, modeinfo *out, std::uint32_t *fetched) override {
        if (count > 0 && !out)
            return e_invalidarg;
        std::uint32_t n = 0;
        while (n < count && position < modes.size())
            out[n++] = modes[position++];
        if (fetched)
            *fetched = n;
        return n == count ? s_ok : s_false;
    }

    hresult Select(const QUuid &modeid, std::unique_ptr<central> *engine,
                   audio::pcmstream *audio) override {
        if (!engine || !audio)
            return e_invalidarg;
        const auto it = std::find_if(modes.begin(), modes.end(),
                                     [&](const modeinfo &m) { return m.gModeID == modeid; });
        if (it == modes.end())
            return e_unknownmode;
        // Load the voice now when the synthesiser is free, so the first text starts sooner
        // and a broken voice shows here.
        if (!host->owner) {
            if (hresult r = host->loadvoice(it->voiceid); failed(r))
                return r;
        }
        *engine = std::make_unique<engineimpl>(host, *it, audio);
        return s_ok;
    }

  private:
    synthhost *host;
    std::vector<modeinfo> modes;
    std::size_t position = 0;
};

} // namespace

std::string errortext(hresult r) {
    switch (r) {
    case s_ok:
    case s_false:
        return "The operation succeeded.";
    case e_notimpl:
        return "The speech engine does not implement this operation.";
    case e_invalidarg:
        return "The speech engine was given an invalid argument.";
    case e_unknownmode:
        return "The selected voice is not installed.";
    case e_synthesis:
        return "The speech synthesiser (espeak-ng) failed or is not installed.";
    case e_queuefull:
        return "The speech engine has too much text waiting.";
    case e_notregistered:
        return "The notification sink is not registered with the speech engine.";
    default:
        return "The speech engine failed.";
    }
}

int samplerate() {
    synthhost *host = synthhost::instance(nullptr);
    return host ? host->rate : 0;
}

std::unique_ptr<enumerator> createenumerator(hresult *error) {
    synthhost *host = synthhost::instance(error);
    if (!host)
        return nullptr;
    return std::make_unique<enumeratorimpl>(host);
}

} // namespace tts4
