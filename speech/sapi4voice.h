#pragma once

#include "platform/tts4/tts4.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace audio {
class pcmstream;
class sounddevice;
} // namespace audio
namespace profile {
class inifile;
}
class language;
class speechfront;
class TForm4;

// The embedded engine in its role: the voices offered in the voice dialog's list, the engine
// of the chosen voice with its ranges shown on the dialog's sliders, and the stored choice.
// The list and the sliders belong to TForm4, which attaches itself at its creation.
class sapi4voice {
  public:
    sapi4voice(speechfront &front, profile::inifile &ini, const language &lang);
    ~sapi4voice();

    // Creates the audio output and the enumerator; a failure leaves the enumerator absent.
    void initspeech(audio::sounddevice &device);
    bool enumeratorpresent() const { return enumerator != nullptr; }
    audio::pcmstream *audiodestination() const { return audiodest.get(); }
    tts4::central *engine() const { return current.get(); }

    void attach(TForm4 *dialog) { form = dialog; }

    // Lists the voices and selects Jakub, else the first.
    void fillvoicelist();
    // Makes the selected entry the current mode; speaks its name while the dialog is active.
    void voicelistClick();
    // Creates the engine of the current mode, learns its ranges and sets the sliders up.
    void preparevoice();
    // Selects and prepares the stored voice and applies the stored values. A stored voice that
    // is not installed ends the process after a message.
    void readvoicesettings();
    void writevoicesettings();

    // Silences the engine (the dialog's cut-off), and applies a slider's control tag.
    void cutoff();
    void inject(const std::string &tags);

    // Turning the voice on in the sounds dialog: with voices available it lists them, prepares
    // the default one and stores it, and answers true; otherwise false.
    bool turnvoiceon();

    // Lets go of the engine, the enumerator and the audio output before the sound device goes.
    void shutdown();

  private:
    speechfront &front;
    profile::inifile &ini;
    const language &lang;
    TForm4 *form = nullptr;

    std::unique_ptr<audio::pcmstream> audiodest;
    std::unique_ptr<tts4::enumerator> enumerator;
    std::unique_ptr<tts4::central> current;
    tts4::attributes *attrs = nullptr;
    std::optional<tts4::modeinfo> currentmode;
    std::uint32_t sinkkey = 0;
    bool registered = false;
};
