#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;
class language;
class soundcommands;

// The sounds dialog: whether the voice is allowed, the product sounds on or off and their
// volume. The volume follows the track bar live, with a test tone; the rest takes effect on OK.
class TForm5 : public QDialog {
    Q_OBJECT
  public:
    // What the dialog reads and changes outside itself.
    struct wiring {
        bool &voiceallowed;
        soundcommands &sounds;
        // The voice part of OK when the voice becomes allowed: with a voice enumerator it lists
        // and prepares the voice, stores the voice settings and returns true; without one it
        // returns false and the dialog answers with text 40. Unset counts as no enumerator.
        const std::function<bool()> &allowvoice;
        std::function<void(bool)> enablevoiceitem; // the Voice item of the Settings menu
        std::function<void()> writesettings;       // throws when the file cannot be written
    };

    TForm5(const language &lang, wiring w, QWidget *parent = nullptr);

    // The Sounds command: shows the dialog modally and applies the result.
    void soundssubmenuClick();

    // Track bar position p and volume v in hundredths of a decibel: v = p * 100 - 10000.
    static int position(int sndvolume) { return (sndvolume + 10000) / 100; }
    static int volume(int position) { return position * 100 - 10000; }

    QCheckBox *voicecheckbox, *zumirasoundschk;
    QSlider *sndvoltrackbar;
    QLabel *sndvolstatic;
    QPushButton *okbitbtn, *cancelbitbtn;

  private:
    void sndvoltrackbarChange(int position);
    void applyok();

    const language &lang;
    wiring w;
};
