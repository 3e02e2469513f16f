#include "platform/codepage/cp1250.h"
#include "platform/loop/loop.h"
#include "platform/tts5/tts5.h"

#include <QElapsedTimer>
#include <QMetaObject>
#include <QRegularExpression>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <deque>
#include <libspeechd.h>
#include <vector>

namespace tts5 {

namespace {

enum class spdevent { begin, end, cancel };

class spdvoice;

// libspeechd calls back on its own event thread, which also reads the replies to our commands:
// a callback may only post. The events go to every voice on the UI thread; message ids are
// unique within the daemon, so each voice takes only its own.
class dispatcher : public QObject {
  public:
    std::vector<spdvoice *> voices;
};

std::atomic<dispatcher *> thedispatcher{nullptr};

dispatcher *getdispatcher() {
    if (!thedispatcher.load())
        thedispatcher.store(new dispatcher); // lives as long as the process, like the thread
    return thedispatcher.load();
}

void post(std::size_t msgid, spdevent event);

void onbegin(std::size_t msgid, std::size_t, SPDNotificationType) {
    post(msgid, spdevent::begin);
}
void onend(std::size_t msgid, std::size_t, SPDNotificationType) {
    post(msgid, spdevent::end);
}
void oncancel(std::size_t msgid, std::size_t, SPDNotificationType) {
    post(msgid, spdevent::cancel);
}

QString striptags(const QString &xml) {
    static const QRegularExpression tag("<[^>]*>");
    QString plain = xml;
    plain.remove(tag);
    plain.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&apos;", "'");
    return plain.replace("&amp;", "&");
}

class spdvoice : public automationvoice {
  public:
    spdvoice(audio::pcmstream *fallbackaudio, const options &opts)
        : fallbackaudio(fallbackaudio), opts(opts), fallbacksink(this) {
        getdispatcher()->voices.push_back(this);
        deadline.setSingleShot(true);
        deadline.setTimerType(Qt::PreciseTimer);
        connect(&deadline, &QTimer::timeout, this, [this] { dropdaemon(); });
    }

    ~spdvoice() override {
        dying = true;
        auto &voices = getdispatcher()->voices;
        voices.erase(std::remove(voices.begin(), voices.end(), this), voices.end());
        deadline.stop();
        if (conn)
            spd_close(conn);
        if (fallbackengine)
            fallbackengine->UnRegister(fallbackkey);
    }

    hresult setEventInterests(std::uint32_t wanted) override {
        interests = wanted;
        connectdaemon();
        return tts4::s_ok;
    }

    hresult Speak(const QString &text, std::uint32_t flags, int *stream) override {
        if (flags & svsfisfilename)
            return tts4::e_notimpl;
        if (flags & svsfpurgebeforespeak)
            purge();
        const int number = nextstream++;
        if (stream)
            *stream = number;
        if (text.isEmpty())
            return tts4::s_ok;
        const bool xml = (flags & svsfisxml) != 0;
        if (!connectdaemon() || failed(speakdaemon(number, text, xml))) {
            if (hresult r = speakfallback(number, text, xml, false); failed(r))
                return r;
        }
        if (!(flags & svsflagsasync)) {
            const int outerstream = waitstream;
            const bool outerbusy = waitbusy;
            waitstream = number;
            waitbusy = live(number);
            loop::waitwhile(waitbusy);
            waitstream = outerstream;
            waitbusy = outerbusy && live(outerstream);
        }
        return tts4::s_ok;
    }

    void onevent(std::size_t msgid, spdevent event) {
        const auto it = std::find_if(queue.begin(), queue.end(),
                                     [msgid](const utterance &u) { return u.msgid == msgid; });
        if (it == queue.end())
            return;
        if (event == spdevent::begin) {
            const bool front = it == queue.begin();
            const bool first = !it->started;
            it->started = true;
            if (front)
                armdeadline();
            if (first)
                emitstart(it->stream);
            return;
        }
        const int number = it->stream;
        const bool front = it == queue.begin();
        queue.erase(it);
        if (front)
            armdeadline();
        emitend(number);
    }

    bool usingdaemon() const { return conn != nullptr; }

  private:
    struct utterance {
        int stream;
        std::size_t msgid;
        QString text;
        bool xml;
        bool started;
    };

    // Ends the fallback's streams when the embedded engine's audio stops.
    class sink : public tts4::notifysink {
      public:
        explicit sink(spdvoice *owner) : owner(owner) {}
        void AudioStart(std::uint64_t) override {}
        void AudioStop(std::uint64_t) override { owner->fallbackstopped(); }

      private:
        spdvoice *owner;
    };

    bool connectdaemon() {
        if (conn)
            return true;
        if (dropped.isValid() && dropped.elapsed() < opts.retryms)
            return false;
        dropped.start(); // a failure below waits for the next retry too

        SPDConnectionAddress address{};
        std::string socketpath, host;
        const bool given = !opts.address.empty();
        if (given) {
            const std::string &a = opts.address;
            if (a.rfind("unix_socket:", 0) == 0) {
                socketpath = a.substr(12);
                address.method = SPD_METHOD_UNIX_SOCKET;
                address.unix_socket_name = socketpath.data();
            } else if (a.rfind("inet_socket:", 0) == 0) {
                const std::string rest = a.substr(12);
                const std::size_t colon = rest.rfind(':');
                host = rest.substr(0, colon);
                address.method = SPD_METHOD_INET_SOCKET;
                address.inet_socket_host = host.data();
                address.inet_socket_port =
                    colon == std::string::npos ? 6560 : std::atoi(rest.c_str() + colon + 1);
            } else {
                return false; // an address we cannot read: as if unreachable
            }
        }
        char *error = nullptr;
        conn = spd_open2("vlak", "speech", nullptr, SPD_MODE_THREADED, given ? &address : nullptr,
                         opts.autospawn ? 1 : 0, &error);
        std::free(error);
        if (!conn)
            return false;
        conn->callback_begin = onbegin;
        conn->callback_end = onend;
        conn->callback_cancel = oncancel;
        if (spd_set_notification_on(conn, SPDNotification(SPD_BEGIN | SPD_END | SPD_CANCEL)) != 0) {
            spd_close(conn);
            conn = nullptr;
            return false;
        }
        datamode = SPD_DATA_TEXT;
        dropped.invalidate();
        return true;
    }

    hresult speakdaemon(int number, const QString &text, bool xml) {
        const SPDDataMode mode = xml ? SPD_DATA_SSML : SPD_DATA_TEXT;
        if (mode != datamode) {
            if (spd_set_data_mode(conn, mode) != 0) {
                dropdaemon();
                return tts4::e_fail;
            }
            datamode = mode;
        }
        const QString body = xml && !text.trimmed().startsWith("<speak")
                                 ? QStringLiteral("<speak>") + text + QStringLiteral("</speak>")
                                 : text;
        const int msgid = spd_say(conn, SPD_MESSAGE, body.toUtf8().constData());
        if (msgid <= 0) {
            dropdaemon();
            return tts4::e_fail;
        }
        queue.push_back({number, std::size_t(msgid), text, xml, false});
        if (queue.size() == 1)
            armdeadline();
        return tts4::s_ok;
    }

    // The daemon is gone or lost an utterance: close it and let the embedded engine speak
    // whatever had not ended, in order.
    void dropdaemon() {
        deadline.stop();
        if (conn) {
            spd_close(conn);
            conn = nullptr;
        }
        dropped.start();
        std::deque<utterance> left;
        left.swap(queue);
        for (const utterance &u : left) {
            if (failed(speakfallback(u.stream, u.text, u.xml, u.started))) {
                if (!u.started)
                    emitstart(u.stream);
                emitend(u.stream);
            }
        }
    }

    void purge() {
        std::vector<int> ended;
        for (const utterance &u : queue)
            ended.push_back(u.stream);
        const bool daemonbusy = !queue.empty();
        queue.clear();
        deadline.stop();
        ended.insert(ended.end(), fallbackstreams.begin(), fallbackstreams.end());
        fallbackstreams.clear();
        if (conn && daemonbusy && spd_cancel(conn) != 0)
            dropdaemon();
        if (fallbackengine)
            fallbackengine->AudioReset();
        std::sort(ended.begin(), ended.end());
        for (int number : ended)
            emitend(number);
    }

    bool preparefallback() {
        if (fallbackengine)
            return true;
        if (!fallbackaudio)
            return false;
        if (!fallbackenum)
            fallbackenum = tts4::createenumerator();
        if (!fallbackenum)
            return false;
        tts4::modeinfo mode;
        std::uint32_t fetched = 0;
        fallbackenum->Reset();
        if (failed(fallbackenum->Next(1, &mode, &fetched)) || fetched != 1)
            return false;
        if (failed(fallbackenum->Select(mode.gModeID, &fallbackengine, fallbackaudio)))
            return false;
        fallbackengine->Register(&fallbacksink, &fallbackkey);
        return true;
    }

    hresult speakfallback(int number, const QString &text, bool xml, bool started) {
        if (!preparefallback())
            return tts4::e_synthesis;
        const std::string bytes = codepage::tocp1250(xml ? striptags(text) : text);
        fallbackstreams.push_back(number);
        const hresult r = fallbackengine->TextData(0, 0, bytes.c_str(), bytes.size() + 1);
        if (failed(r)) {
            fallbackstreams.erase(
                std::find(fallbackstreams.begin(), fallbackstreams.end(), number));
            return r;
        }
        if (!started)
            emitstart(number);
        return tts4::s_ok;
    }

    void fallbackstopped() {
        std::vector<int> ended;
        ended.swap(fallbackstreams);
        for (int number : ended)
            emitend(number);
    }

    void armdeadline() {
        if (queue.empty()) {
            deadline.stop();
            return;
        }
        deadline.start(opts.deadlinebasems + opts.deadlineperchar * int(queue.front().text.size()));
    }

    bool live(int number) const {
        return std::any_of(queue.begin(), queue.end(),
                           [number](const utterance &u) { return u.stream == number; }) ||
               std::find(fallbackstreams.begin(), fallbackstreams.end(), number) !=
                   fallbackstreams.end();
    }

    void emitstart(int number) {
        if (!dying && (interests & svestartinputstream))
            emit StartStream(number, 0);
    }

    void emitend(int number) {
        if (number == waitstream)
            waitbusy = false;
        if (!dying && (interests & sveendinputstream))
            emit EndStream(number, 0);
    }

    audio::pcmstream *fallbackaudio;
    options opts;
    std::uint32_t interests = svestartinputstream | sveendinputstream;
    SPDConnection *conn = nullptr;
    SPDDataMode datamode = SPD_DATA_TEXT;
    QElapsedTimer dropped; // valid while the daemon counts as unreachable
    QTimer deadline;
    std::deque<utterance> queue; // given to the daemon, end not yet seen, in order
    int nextstream = 1;
    int waitstream = 0;
    bool waitbusy = false;
    bool dying = false;

    std::unique_ptr<tts4::enumerator> fallbackenum;
    std::unique_ptr<tts4::central> fallbackengine;
    sink fallbacksink;
    std::uint32_t fallbackkey = 0;
    std::vector<int> fallbackstreams; // spoken by the embedded engine, end not yet seen
};

void post(std::size_t msgid, spdevent event) {
    dispatcher *d = thedispatcher.load();
    if (!d)
        return;
    QMetaObject::invokeMethod(
        d,
        [d, msgid, event] {
            const std::vector<spdvoice *> now = d->voices;
            for (spdvoice *v : now) {
                // A handler may have destroyed a voice meanwhile.
                if (std::find(d->voices.begin(), d->voices.end(), v) != d->voices.end())
                    v->onevent(msgid, event);
            }
        },
        Qt::QueuedConnection);
}

} // namespace

std::unique_ptr<automationvoice> createvoice(audio::pcmstream *fallbackaudio, const options &opts) {
    return std::make_unique<spdvoice>(fallbackaudio, opts);
}

bool usesdaemon(const automationvoice &voice) {
    const auto *v = dynamic_cast<const spdvoice *>(&voice);
    return v && v->usingdaemon();
}

} // namespace tts5
