#include "apptestbase.h"
#include "shell/soundsdialog.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>

namespace {

// A played test tone leaves its octave and duration behind; these marks show whether one played.
void marktone(soundcommands &s) {
    s.lastoctave = 7;
    s.lastduration = 7;
}
bool toneplayed(const soundcommands &s) {
    return s.lastoctave == 1 && s.lastduration == 100;
}

} // namespace

class soundsdialog : public apptest {
  protected:
    // Opens the dialog with its shortcut in the main window, as the user does.
    void opendialog(std::function<void(TForm5 &)> steps) {
        showwindow(); // a dialog that closed leaves no window active
        whenmodal<TForm5>(std::move(steps));
        QTest::keyClick(app->form1->printmemo, Qt::Key_D, Qt::ControlModifier);
    }
};

TEST_F(soundsdialog, firstopeningroundsthevolumedownsilentlyandcancelkeepsit) {
    writefile("vlak.ini", "[sounds]\nsndvolume=-150\n");
    application &a = start();
    marktone(a.sounds);
    int seen = 0;
    opendialog([&](TForm5 &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Nastavení zvuků"));
        EXPECT_EQ(d.voicecheckbox->text(), QStringLiteral("Povolit &hlas"));
        EXPECT_EQ(d.zumirasoundschk->text(), QStringLiteral("Zvuky &Zumiry"));
        EXPECT_EQ(d.sndvolstatic->text(), QStringLiteral("H&lasitost zvuků"));
        EXPECT_EQ(d.sndvolstatic->buddy(), d.sndvoltrackbar);
        EXPECT_EQ(d.okbitbtn->text(), QStringLiteral("&Ok"));
        EXPECT_EQ(d.cancelbitbtn->text(), QStringLiteral("Zrušit"));
        EXPECT_EQ(d.focusWidget(), d.voicecheckbox);
        EXPECT_EQ(d.sndvoltrackbar->value(), 98);
        EXPECT_TRUE(d.sndvoltrackbar->isEnabled());
        seen = a.sounds.sndvolume;
        QTest::keyClick(d.focusWidget(), Qt::Key_Escape);
    });
    EXPECT_EQ(seen, -200);
    EXPECT_EQ(a.sounds.sndvolume, -200);
    EXPECT_FALSE(toneplayed(a.sounds)) << "no test tone before the dialog shows";
}

TEST_F(soundsdialog, movingto60thencancelrestoresthevolume) {
    writefile("vlak.ini", "[sounds]\nsndvolume=-2500\n");
    application &a = start();
    int live = 0;
    opendialog([&](TForm5 &d) {
        ASSERT_EQ(d.sndvoltrackbar->value(), 75);
        d.sndvoltrackbar->setFocus();
        QTest::keyClick(d.sndvoltrackbar, Qt::Key_PageDown);
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(d.sndvoltrackbar, Qt::Key_Left);
        EXPECT_EQ(d.sndvoltrackbar->value(), 60);
        live = a.sounds.sndvolume;
        QTest::keyClick(d.sndvoltrackbar, Qt::Key_Escape);
    });
    EXPECT_EQ(live, -4000);
    EXPECT_EQ(a.sounds.sndvolume, -2500);
}

// The test tone plays, for its 100 ms, only when the dialog is the active window.
TEST_F(soundsdialog, testtoneplaysonlywhilethedialogisactive) {
    application &a = start();
    struct result {
        bool played;
        qint64 took;
    } active{}, inactive{};
    const auto move = [&a](QSlider *bar) {
        marktone(a.sounds);
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(bar, Qt::Key_Left);
        return result{toneplayed(a.sounds), clock.elapsed()};
    };
    opendialog([&](TForm5 &d) {
        active = move(d.sndvoltrackbar);
        QApplication::setActiveWindow(a.form1.get());
        inactive = move(d.sndvoltrackbar);
        EXPECT_EQ(d.sndvoltrackbar->value(), 98);
        EXPECT_EQ(a.sounds.sndvolume, -200);
        QApplication::setActiveWindow(&d);
        d.okbitbtn->click();
    });
    EXPECT_TRUE(active.played);
    EXPECT_GE(active.took, 95);
    EXPECT_FALSE(inactive.played);
    EXPECT_LT(inactive.took, 50);
}

TEST_F(soundsdialog, untickingproductsoundsdisablesthetrackbarandsilencesallsounds) {
    application &a = start();
    bool enabledafter = true, toneafter = false;
    opendialog([&](TForm5 &d) {
        QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(d.focusWidget(), d.zumirasoundschk);
        QTest::keyClick(d.zumirasoundschk, Qt::Key_Space);
        enabledafter = d.sndvoltrackbar->isEnabled();
        // The test tone follows the setting the dialog opened with, not the box.
        marktone(a.sounds);
        d.sndvoltrackbar->setValue(50);
        toneafter = toneplayed(a.sounds);
        QTest::keyClick(d.zumirasoundschk, Qt::Key_Return);
    });
    EXPECT_FALSE(enabledafter);
    EXPECT_TRUE(toneafter);
    ASSERT_FALSE(a.sounds.zumirasounds);
    EXPECT_TRUE(readfile("vlak.ini").contains("zumirasounds=0"));

    marktone(a.sounds);
    QElapsedTimer clock;
    clock.start();
    a.sounds.playnotes({400, 600}, 300, 4);
    a.sounds.beep();
    a.sounds.click(9);
    EXPECT_LT(clock.elapsed(), 20);
    EXPECT_EQ(a.sounds.lastoctave, 7);
    EXPECT_EQ(a.sounds.lastduration, 7);

    // Opened again with the sounds off: the track bar starts disabled and the box enables it.
    bool enabledatopen = true, enabledafterclick = false;
    opendialog([&](TForm5 &d) {
        enabledatopen = d.sndvoltrackbar->isEnabled();
        d.zumirasoundschk->click();
        enabledafterclick = d.sndvoltrackbar->isEnabled();
        d.cancelbitbtn->click();
    });
    EXPECT_FALSE(enabledatopen);
    EXPECT_TRUE(enabledafterclick);
    EXPECT_FALSE(a.sounds.zumirasounds) << "Cancel keeps the sounds off";
}

// Ticking the voice box: without a voice enumerator the answer is text 40 and the voice stays
// forbidden; with one, the voice part runs and the Voice item is enabled.
TEST_F(soundsdialog, tickingthevoiceboxallowsthevoiceonlywithanenumerator) {
    const struct {
        const char *name;
        const char *ini;
        int hook; // -1 unset, 0 no enumerator, 1 enumerator
        bool allowed;
        int hookcalls;
        QStringList messages;
    } cases[] = {
        {"no hook", "", -1, false, 0, {"Nelze povolit hlas. Žádné hlasy nejsou k dispozici."}},
        {"no enumerator", "", 0, false, 1, {"Nelze povolit hlas. Žádné hlasy nejsou k dispozici."}},
        {"enumerator", "", 1, true, 1, {}},
        {"allowed, SAPI5", "[voice]\nvoiceallowed=1\n[Voice]\nSAPI5=1\n", 1, true, 0, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        app.reset();
        messages.clear();
        QFile::remove(path("vlak.ini"));
        if (*c.ini)
            writefile("vlak.ini", c.ini);
        application &a = start();
        int calls = 0;
        a.allowvoice = nullptr;
        if (c.hook >= 0)
            a.allowvoice = [&calls, &c] {
                ++calls;
                return c.hook == 1;
            };
        opendialog([&](TForm5 &d) {
            if (!d.voicecheckbox->isChecked())
                QTest::keyClick(d.voicecheckbox, Qt::Key_Space);
            ASSERT_TRUE(d.voicecheckbox->isChecked());
            QTest::keyClick(d.voicecheckbox, Qt::Key_Return);
        });
        EXPECT_EQ(messages, c.messages);
        EXPECT_EQ(calls, c.hookcalls);
        EXPECT_EQ(a.speech.flags.voiceallowed, c.allowed);
        EXPECT_EQ(a.form5->voicecheckbox->isChecked(), c.allowed);
        EXPECT_EQ(a.form1->Voicesubmenu->isEnabled(), c.allowed);
        EXPECT_TRUE(readfile("vlak.ini").contains(c.allowed ? "voiceallowed=1" : "voiceallowed=0"));
    }
}

TEST_F(soundsdialog, okwritesthesettingskeysinorder) {
    writefile("vlak.ini", "[keyboard]\nbraillekeys=1\n");
    application &a = start();
    opendialog([](TForm5 &d) {
        d.sndvoltrackbar->setFocus();
        QTest::keyClick(d.sndvoltrackbar, Qt::Key_PageDown);
        QTest::keyClick(d.sndvoltrackbar, Qt::Key_Return);
    });
    EXPECT_EQ(a.sounds.sndvolume, -1000);
    EXPECT_EQ(readfile("vlak.ini"), QByteArray("[keyboard]\nbraillekeys=1\n\n"
                                               "[voice]\nvoiceallowed=1\n\n"
                                               "[sounds]\nzumirasounds=1\nsndvolume=-1000\n"));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(soundsdialog, asettingsfilethatcannotbewrittenistold) {
    application &a = start();
    ASSERT_TRUE(QFile::remove(path("vlak.ini")));
    ASSERT_TRUE(QDir(folder.path()).mkdir("vlak.ini"));
    opendialog([](TForm5 &d) { d.okbitbtn->click(); });
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Cannot write the settings file"))
        << messages[0].toStdString();
    EXPECT_TRUE(a.form1->isVisible());
}
