#include "shell/application.h"

#include "braille/inputdialog.h"
#include "platform/codepage/cp1250.h"
#include "platform/loop/loop.h"
#include "shell/environmentdialog.h"
#include "shell/mainwindow.h"
#include "shell/messagebox.h"
#include "shell/soundsdialog.h"
#include "speech/voicedialog.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPlainTextEdit>

application::application(const QString &exepath, char decimalseparator)
    : ini(settingspath(exepath)), lang(ini),
      device(std::make_unique<audio::sounddevice>()),
      waves(std::make_unique<audio::devicewavelist>(*device)), sounds(*waves),
      usersettings(ini, settingvalues{speech.flags.voiceallowed, sounds.zumirasounds,
                                      sounds.sndvolume, braillemode}),
      print(
          scr, [this](const std::string &text) { speech.say(text); }, loop::sleepms,
          decimalseparator),
      library(scr, print, memory, sounds),
      cycle(runcycle::hooks{
          [this](bool enabled) { setmenus(enabled); },
          [this] { preparespeech(); },
          [this] { library.resetrun(); },
          [this] { programentry(library); },
          [this] { print.printstr(lang.text(25), 0); },
          [](const std::string &message) { messagebox::showtext(QString::fromStdString(message)); },
      }) {
    createmainwindow(exepath);
    keys.h = mainkeys::hooks{
        [this] { speech.stopspeech(); },
        [this] {
            if (sounds.tonewait)
                sounds.endtonewait();
        },
        [this] {
            saveramreporting();
            endduringrun();
        },
        [this] { return cycle.runstarted; },
        {},
    };
    form1->printmemo->installEventFilter(&keys);
    form2 = std::make_unique<TForm2>(lang, form1.get());
    form2->onexitprogram = [this] {
        saveramreporting();
        endduringrun();
    };
    library.input.dialog = form2.get();
    library.input.catalogtext = [this](int offset) { return lang.text(offset); };
    form3 = std::make_unique<TForm3>(lang, form1.get());
    QObject::connect(form1->environmentsubmenu, &QAction::triggered, [this] {
        try {
            form3->environmentsubmenuClick();
        } catch (const std::exception &e) {
            messagebox::showtext(QString::fromStdString(e.what()));
        }
    });
    createvoicedialog();
    createsoundsdialog();
}

void application::createvoicedialog() {
    speech.tone = [this](double note, double duration, double octave) {
        sounds.playnotes({note}, duration, octave);
    };
    allowvoice = [this] { return sapi4.turnvoiceon(); };
    // A failing step of the dialog's creation is told; the dialog exists all the same.
    try {
        form4 = std::make_unique<TForm4>(
            TForm4::context{lang, speech, sapi4, ini, [this] { return form1->windowTitle(); }},
            form1.get());
    } catch (const std::exception &e) {
        messagebox::showtext(QString::fromStdString(e.what()));
    }
    QObject::connect(form1->Voicesubmenu, &QAction::triggered, [this] {
        try {
            if (form4)
                form4->VoicesubmenuClick();
        } catch (const std::exception &e) {
            messagebox::showtext(QString::fromStdString(e.what()));
        }
    });
    QObject::connect(form1->usesapi5submenu, &QAction::triggered, [this] { usesapi5submenuClick(); });
}

void application::usesapi5submenuClick() {
    // The item is checkable: the toolkit has already inverted the tick.
    const bool on = form1->usesapi5submenu->isChecked();
    speech.flags.usesapi5 = speech.flags.engineready = on;
    form1->Voicesubmenu->setEnabled(!on);
    try {
        ini.writeint("Voice", "SAPI5", on ? 1 : 0);
        sounds.playnotes({on ? 400.0 : 600.0}, 50, 3);
        sounds.playnotes({on ? 600.0 : 400.0}, 50, 3);
    } catch (const std::exception &e) {
        messagebox::showtext(QString::fromStdString(e.what()));
    }
}

void application::preparespeech() {
    if (form1->usesapi5submenu->isChecked() || !speech.flags.voiceallowed)
        return;
    sapi4.readvoicesettings();
    if (!speech.flags.engineready) {
        sapi4.preparevoice();
        sapi4.writevoicesettings();
        sapi4.readvoicesettings();
    }
}

void application::createsoundsdialog() {
    form5 = std::make_unique<TForm5>(
        lang,
        TForm5::wiring{speech.flags.voiceallowed, sounds, allowvoice,
                       [this](bool enabled) { form1->Voicesubmenu->setEnabled(enabled); },
                       [this] { usersettings.writesettings(); }},
        form1.get());
    QObject::connect(form1->soundssubmenu, &QAction::triggered, [this] {
        try {
            form5->soundssubmenuClick();
        } catch (const std::exception &e) {
            messagebox::showtext(QString::fromStdString(e.what()));
        }
    });
}

application::~application() = default;

std::string application::settingspath(const QString &exepath) {
    const QFileInfo info(exepath);
    QString name = info.fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        name.truncate(dot);
    return info.dir().filePath(name + QStringLiteral(".ini")).toStdString();
}

QString application::title(const QString &exepath, const language &lang) {
    // The name up to its first "." (vlak.exe and vlak both give vlak). Dots in folder names do
    // not count: they are common here and would leave a title without the program's name.
    QString base = QFileInfo(exepath).fileName();
    const int dot = base.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        base.truncate(dot);
    return base + QStringLiteral(" - ") + codepage::fromcp1250(lang.text(1));
}

void application::createmainwindow(const QString &exepath) {
    lang.readlanguage();
    form1 = std::make_unique<TForm1>(lang, title(exepath, lang));
    scr.onchange = [this] { form1->showscreen(scr.lines()); };
    form1->showscreen(scr.lines());
    form1->onclose = [this] { return closemainwindow(); };
    QObject::connect(form1->Startsubmenu, &QAction::triggered, [this] { cycle.StartsubmenuClick(); });
    QObject::connect(form1->exitsubmenu, &QAction::triggered, [this] { exitsubmenuClick(); });

    // A failing step stops the remaining ones; the window goes on with what was created.
    try {
        speech.flags = speechflags{};
        sounds.zumirasounds = true;
        sounds.sndvolume = 0;
        braillemode = false;
        sapi4.initspeech(*device);
        form1->usesapi5submenu->setVisible(true);
        const bool sapi5 = usersettings.readsettings([this] { return sapi4.enumeratorpresent(); });
        form1->usesapi5submenu->setChecked(sapi5);
        form1->braillekeyboarditem->setChecked(braillemode);
        speech.flags.usesapi5 = speech.flags.engineready = sapi5;
        form1->Voicesubmenu->setEnabled(speech.flags.voiceallowed && !sapi5);
    } catch (const std::exception &e) {
        messagebox::showtext(QString::fromStdString(e.what()));
    }
    // An unreadable memory image is told and then left alone; the sound file still loads.
    try {
        memory.loadram();
    } catch (const std::exception &e) {
        messagebox::showtext(QString::fromStdString(e.what()));
    }
    loadsoundfile();
}

void application::loadsoundfile() {
    const soundcommands::loadresult result = sounds.loadsounds("sounds.dat");
    if (result.outcome == soundcommands::loadresult::loaded)
        return;
    if (result.outcome == soundcommands::loadresult::missing)
        messagebox::show(lang.text(42) + " sounds.dat");
    else
        messagebox::showtext(QString::fromStdString(result.message));
    processend::endprocess(1);
}

void application::setmenus(bool enabled) {
    for (QAction *item : {form1->Startsubmenu, form1->soundssubmenu, form1->environmentsubmenu,
                          form1->Voicesubmenu, form1->usesapi5submenu})
        item->setEnabled(enabled);
    form1->helpmenu->menuAction()->setEnabled(enabled);
}

void application::saveramreporting() {
    try {
        memory.saveram();
    } catch (const std::exception &e) {
        messagebox::showtext(QString::fromStdString(e.what()));
    }
}

void application::releasesound() {
    // Errors while letting go of the device do not matter any more: the process is ending.
    try {
        // The speech stream plays on the device: it goes first, with the voices that use it.
        form4.reset();
        sapi4.shutdown();
        waves.reset();
        device.reset();
    } catch (...) {
    }
}

void application::endduringrun() {
    // The program is suspended inside a wait; it must not continue.
    releasesound();
    processend::endprocess(0);
}

void application::exitsubmenuClick() {
    if (!cycle.running()) {
        form1->close(); // the close steps save the memory image
        return;
    }
    saveramreporting();
    endduringrun();
}

bool application::closemainwindow() {
    saveramreporting();
    if (cycle.running())
        endduringrun();
    return true;
}
