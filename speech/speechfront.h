#pragma once

#include "platform/tts4/tts4.h"
#include "speech/echokeys.h"

#include <functional>
#include <stdexcept>
#include <string>

namespace tts5 {
class automationvoice;
}

// The speech flags shared by printing, keys and the voice settings.
struct speechflags {
    bool voiceallowed = false;
    bool usesapi5 = false;
    bool engineready = false;
    bool sapi4speaking = false;
    bool sapi5speaking = false;
};

// A failure reported by a speech engine, with a sentence for the message box.
struct speecherror : std::runtime_error {
    using std::runtime_error::runtime_error;
};
// Throws speecherror when r is a failure.
void checkspeech(tts4::hresult r);

// The embedded engine's notifications: the audio's start and stop drive the waits of say.
class TTTSNotifySink : public tts4::notifysink {
  public:
    explicit TTTSNotifySink(bool &speaking) : speaking(speaking) {}
    void AudioStart(std::uint64_t) override { speaking = true; }
    void AudioStop(std::uint64_t) override { speaking = false; }

  private:
    bool &speaking;
};

// The front through which everything is spoken. It chooses the engine by the flags and waits in
// the event loop; texts are Windows-1250. A failure of an engine call throws speecherror.
class speechfront {
  public:
    speechflags flags;
    echokeytable echokeys{};
    TTTSNotifySink notifysink{flags.sapi4speaking};

    // The embedded engine prepared last, and the system voice; null while absent. Nothing is
    // handed to an engine that does not exist: speech through it is then silent.
    tts4::central *engine4 = nullptr;
    tts5::automationvoice *voice5 = nullptr;
    // The tone before a capital letter: one note value, duration in ms, octave.
    std::function<void(double note, double duration, double octave)> tone;

    // Speaks and returns when the engine has finished or a key stopped it.
    void say(const std::string &text);
    // Queues and returns at once.
    void sayasync(const std::string &text);
    // Announces a typed key by its name in echokeys, a capital with a tone first.
    void echokey(const std::string &keytext);
    void stopspeech();

    // The system voice's events.
    void voice5StartStream() { flags.sapi5speaking = true; }
    void voice5EndStream() { flags.sapi5speaking = false; }

  private:
    void textdata(const std::string &text);
    void speak5(const std::string &text, std::uint32_t flagword);
};
