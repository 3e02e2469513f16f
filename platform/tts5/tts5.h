#pragma once

#include "platform/tts4/tts4.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>

namespace audio {
class pcmstream;
}

// The user's system voice, shaped as an automation voice: event interests, Speak with a flag
// word, and start-of-stream / end-of-stream events delivered on the UI thread.
namespace tts5 {

using tts4::failed;
using tts4::hresult;

// Flags of Speak.
constexpr std::uint32_t svsfdefault = 0;
constexpr std::uint32_t svsflagsasync = 1;
constexpr std::uint32_t svsfpurgebeforespeak = 2;
constexpr std::uint32_t svsfisfilename = 4;
constexpr std::uint32_t svsfisxml = 8;
constexpr std::uint32_t svsfisnotxml = 16;

// Event interests: only the stream events are ever raised; the other bits are accepted.
constexpr std::uint32_t svestartinputstream = 2;
constexpr std::uint32_t sveendinputstream = 4;
constexpr std::uint32_t sveallevents = 33790;

class automationvoice : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
    virtual hresult setEventInterests(std::uint32_t interests) = 0;
    // Speaks text; with svsflagsasync it returns at once, otherwise after the end of the
    // stream (waiting in the event loop). An empty text speaks nothing and raises no events.
    // stream (if given) receives the stream number that the events carry.
    virtual hresult Speak(const QString &text, std::uint32_t flags, int *stream = nullptr) = 0;

  signals:
    void StartStream(int stream, qint64 position);
    void EndStream(int stream, qint64 position);
};

struct options {
    // Where the daemon listens, in speech-dispatcher's address form ("unix_socket:/path" or
    // "inet_socket:host:port"). Empty: its default (SPEECHD_ADDRESS, else the user's socket).
    std::string address;
    // Start the daemon when none runs.
    bool autospawn = true;
    // An utterance whose end has not come within base + perchar per character after it began
    // to be spoken is taken as lost: the daemon is dropped and the embedded engine takes over.
    int deadlinebasems = 5000;
    int deadlineperchar = 150;
    // After the daemon was dropped, a new connection is tried no sooner than this.
    int retryms = 10000;
};

// The voice on speech-dispatcher (priority MESSAGE: utterances queue and never cut each other
// off; SSML for svsfisxml; cancel for svsfpurgebeforespeak). When the daemon cannot be reached
// or an utterance's end does not come in time, the embedded engine's default voice speaks into
// fallbackaudio instead, with the same events: a Speak never hangs.
std::unique_ptr<automationvoice> createvoice(audio::pcmstream *fallbackaudio,
                                             const options &opts = {});

// True while the voice speaks through speech-dispatcher (false while it falls back).
bool usesdaemon(const automationvoice &voice);

} // namespace tts5
