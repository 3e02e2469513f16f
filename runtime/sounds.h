#pragma once

#include "platform/audio/wavelist.h"

#include <QTimer>
#include <cstdint>
#include <string>
#include <vector>

// The device's sound commands: tones (a chord of voices in an octave, for a time), the beep and
// the clicks, played from the items of the sound file. The main window owns this object, with
// it the tone timer; its key-down handler ends a tone wait through endtonewait.
class soundcommands {
  public:
    explicit soundcommands(audio::wavelist &waves);

    struct loadresult {
        enum kind { loaded, missing, damaged };
        kind outcome = loaded;
        // For damaged: the fault, naming the file. For missing the caller shows catalog text 42
        // followed by " sounds.dat".
        std::string message;
    };
    // Loads the wave list from the sound file. The caller ends the application unless loaded.
    loadresult loadsounds(const std::string &filename = "sounds.dat");

    // Starts the notes together (voice i plays item "snd" + i + octave), waits in the message
    // loop for duration milliseconds or a key, then stops them in the same order. An octave
    // above 9 means the last octave, a negative duration the last duration; a duration of 0
    // waits for a key alone. Throws audio::wavenotfound for an item the file lacks.
    void playnotes(const std::vector<double> &notes, double duration, double octave);
    // Play to the end, blocking without turning the message loop.
    void beep();
    void click(double number);

    // The tone timer's event, also run by a key: the tones stop and playnotes returns.
    void endtonewait();
    // At the start of every run: the remembered octave and duration go back to 1.
    void resetrun();

    bool zumirasounds = true;
    std::int32_t sndvolume = 0; // hundredths of a decibel, -10000 to 0
    std::uint8_t lastoctave = 1;
    std::int32_t lastduration = 1;
    bool tonewait = false;

    const QTimer &tonetimer() const { return Timer; }

  private:
    audio::wavelist &waves;
    QTimer Timer; // single-shot, precise; idle unless a tone waits for it
};
