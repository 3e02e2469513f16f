#pragma once

#include <QUuid>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace audio {
class pcmstream;
}

// The embedded speech engine, shaped as the system drives it: an enumerator of voices (modes),
// an engine created per Select, its attributes, and a notification sink for the start and stop
// of the audio. Texts and names are Windows-1250 bytes. Every call is made on the UI thread and
// every notification is delivered on it.
namespace tts4 {

// Result codes in the platform's style: zero or positive is success.
using hresult = std::int32_t;
constexpr hresult s_ok = 0;
constexpr hresult s_false = 1; // Next fetched fewer modes than asked for
constexpr hresult e_notimpl = hresult(0x80004001);
constexpr hresult e_fail = hresult(0x80004005);
constexpr hresult e_invalidarg = hresult(0x80070057);
constexpr hresult e_unknownmode = hresult(0x80040201);   // Select with an identifier not listed
constexpr hresult e_synthesis = hresult(0x80040202);     // the synthesiser refused the call
constexpr hresult e_queuefull = hresult(0x80040203);     // too much text waiting; retry later
constexpr hresult e_notregistered = hresult(0x80040204); // UnRegister of an unknown key

inline bool failed(hresult r) {
    return r < 0;
}
// A sentence for a message box.
std::string errortext(hresult r);

// Ranges the engine reports through its attributes.
constexpr std::uint32_t minspeed = 80; // words per minute
constexpr std::uint32_t maxspeed = 450;
constexpr std::uint16_t minpitch = 0;
constexpr std::uint16_t maxpitch = 99;
// Volume is a 16-bit level per channel, left in the low half and right in the high half. A
// level of 65280 (the volume slider's top position, 255 * 256) and above is the synthesiser's
// normal loudness, which never clips; lower levels scale it down linearly.
constexpr std::uint32_t fullvolume = 65280;

// One voice as the enumerator lists it.
struct modeinfo {
    QUuid gModeID;
    std::string szModeName; // Windows-1250, as shown in the voice list and stored in settings
    std::string language;   // e.g. "sk", "cs", "en-gb"
    std::string voiceid;    // the synthesiser's own name of the voice, e.g. "zlw/sk"
};

class notifysink {
  public:
    virtual ~notifysink() = default;
    virtual void AttribChanged(std::uint32_t /*attribute*/) {}
    // Time stamps are steady-clock time in 100-nanosecond units.
    virtual void AudioStart(std::uint64_t timestamp) = 0;
    virtual void AudioStop(std::uint64_t timestamp) = 0;
};

class attributes {
  public:
    virtual ~attributes() = default;
    // Set keeps the value within the reported range. An engine that lacks an attribute answers
    // e_notimpl to both calls.
    virtual hresult PitchGet(std::uint16_t *pitch) = 0;
    virtual hresult PitchSet(std::uint16_t pitch) = 0;
    virtual hresult SpeedGet(std::uint32_t *speed) = 0;
    virtual hresult SpeedSet(std::uint32_t speed) = 0;
    virtual hresult VolumeGet(std::uint32_t *volume) = 0;
    virtual hresult VolumeSet(std::uint32_t volume) = 0;
};

// The engine of one voice. Contract with its sinks: AudioStart is delivered before the TextData
// that starts the audio returns; every AudioStart is followed by exactly one AudioStop, when
// all the audio has played out, or within AudioReset, UnRegister or the engine's destruction.
// Texts given while audio plays join it: one start and one stop cover them all.
class central {
  public:
    virtual ~central() = default;
    // Queues a text and returns at once. charset 0 (plain text) and flags 0 (no tags in the
    // text) are supported, others answer e_notimpl. size counts the terminating zero; the
    // text ends at the first zero byte within size.
    virtual hresult TextData(std::uint32_t charset, std::uint32_t flags, const char *data,
                             std::size_t size) = 0;
    // Control tags such as "\Spd=200\", "\Pit=50\", "\Vol=65280\" (names without regard to
    // letter case; values kept within range) take effect for the speech that follows. Other
    // well-formed tags are ignored; text that is not a sequence of tags changes nothing and
    // answers e_invalidarg.
    virtual hresult Inject(const char *tags) = 0;
    // Stops the audio at once and drops the queued text.
    virtual hresult AudioReset() = 0;
    virtual hresult Register(notifysink *sink, std::uint32_t *key) = 0;
    virtual hresult UnRegister(std::uint32_t key) = 0;
    // The attributes interface; it lives as long as the engine.
    virtual hresult QueryAttributes(attributes **out) = 0;
};

class enumerator {
  public:
    virtual ~enumerator() = default;
    virtual hresult Reset() = 0;
    // Copies up to count modes into modes; fetched gets the number copied (s_false when fewer).
    virtual hresult Next(std::uint32_t count, modeinfo *modes, std::uint32_t *fetched) = 0;
    // Creates the engine of a mode, speaking into audio (which must outlive the engine).
    virtual hresult Select(const QUuid &modeid, std::unique_ptr<central> *engine,
                           audio::pcmstream *audio) = 0;
};

// The enumerator over espeak-ng voices: Slovak, then Czech, then English, then the rest by
// name. Null when the synthesiser cannot start; error (if given) then says why.
std::unique_ptr<enumerator> createenumerator(hresult *error = nullptr);

} // namespace tts4
