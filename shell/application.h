#pragma once

#include "braille/mainkeys.h"
#include "platform/audio/devicewavelist.h"
#include "platform/audio/sounddevice.h"
#include "platform/profile/inifile.h"
#include "program/zumprog.h"
#include "runtime/devicememory.h"
#include "runtime/printing.h"
#include "runtime/runcycle.h"
#include "runtime/screen.h"
#include "runtime/sounds.h"
#include "runtime/zumlibrary.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "speech/sapi4voice.h"
#include "speech/speechfront.h"

#include <QString>
#include <functional>
#include <memory>
#include <string>

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;

// The whole application, built in its fixed start-up order and wired once: the runtime's own
// state first, then the windows. Tests build it with their own executable path and data folder.
class application {
  public:
    // exepath decides the settings file (its extension replaced by ".ini") and the window title.
    explicit application(const QString &exepath, char decimalseparator);
    ~application();

    // The settings file beside the executable.
    static std::string settingspath(const QString &exepath);
    // The window title: the executable's name up to its first "." and the program title.
    static QString title(const QString &exepath, const language &lang);

    profile::inifile ini;
    language lang;
    speechfront speech;
    // The sound device and the wave list live as long as the application; the device is opened
    // before the settings are read, the sound file is loaded in its place in start-up.
    std::unique_ptr<audio::sounddevice> device;
    std::unique_ptr<audio::devicewavelist> waves;
    // The embedded engine in its role: voices, the prepared engine, the stored choice. Its
    // speech stream plays on the device, so it is declared after it and goes first.
    sapi4voice sapi4{speech, ini, lang};
    soundcommands sounds;
    bool braillemode = false;
    settings usersettings;

    screen scr;
    printer print;
    devicememory memory;
    zumlibrary library;
    zumprog program;
    // The compiled program's entry; tests put a program of their own here.
    std::function<void(zumcommands &)> programentry = [this](zumcommands &rt) {
        program.mainprogram(rt);
    };
    runcycle cycle;
    // The main window's keys; they write the key buffer that the program takes.
    mainkeys keys{library.keybuffer};

    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm2> form2;
    std::unique_ptr<TForm3> form3;
    std::unique_ptr<TForm4> form4;
    std::unique_ptr<TForm5> form5;

    // The voice part of OK in the sounds dialog, for the speech front to set: when a voice
    // enumerator exists, fillvoicelist, preparevoice, writevoicesettings and return true; without
    // one return false, and the dialog says that no voices are available. Unset: no enumerator.
    std::function<bool()> allowvoice;

    // Exit command: saves the memory image; idle it closes the main window, during a run it
    // ends the process at once.
    void exitsubmenuClick();
    // Use SAPI5 voice: switches between the system voice and the embedded engine.
    void usesapi5submenuClick();

  private:
    void createmainwindow(const QString &exepath);
    void setmenus(bool enabled);
    bool closemainwindow();
    void saveramreporting();
    void endduringrun();
    void releasesound();
    void loadsoundfile();
    void createsoundsdialog();
    void createvoicedialog();
    void preparespeech();
};
