#include "apptestbase.h"
#include "platform/codepage/cp1250.h"
#include "speech/speechplatform.h"
#include "speech/voicedialog.h"
#include "tests/unit/speech/fakeengines.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>

namespace {

struct ended {
    int code;
};

// The application with fake voices Adam, Jakub and Eva whose engines report the given ranges.
class voicedialog : public apptest {
  protected:
    void SetUp() override {
        apptest::SetUp();
        saved = speechplatform::get();
        speechplatform::set(
            {[this] {
                 auto e = std::make_unique<fakespeech::enumerator>(log, names, r);
                 enumerator = e.get();
                 return e;
             },
             [this](audio::pcmstream *) { return std::make_unique<fakespeech::voice>(log, 1); },
             {}});
        processend::sethandler([](int code) { throw ended{code}; });
    }
    void TearDown() override {
        apptest::TearDown();
        speechplatform::set(saved);
        processend::sethandler(nullptr);
    }
    QString text(int offset) const { return codepage::fromcp1250(app->lang.text(offset)); }

    speechplatform::factories saved;
    fakespeech::journal log;
    fakespeech::ranges r;
    std::vector<std::string> names{"Adam", "Jakub", "Eva"};
    fakespeech::enumerator *enumerator = nullptr;
};

} // namespace

TEST_F(voicedialog, createdwithcaptionsthelistandjakubselected) {
    application &a = start();
    TForm4 &d = *a.form4;
    EXPECT_EQ(readfile("vlak.ini"), QByteArray("[voice]\nvoiceallowed=1\n"));
    EXPECT_EQ(d.windowTitle(), text(11));
    EXPECT_EQ(d.voicestatic->text(), text(12));
    EXPECT_EQ(d.vyberhlasbitbtn->text(), text(16));
    EXPECT_EQ(d.voicestatic->buddy(), d.voicelist);
    EXPECT_EQ(d.volumestatic->buddy(), d.volumetb);
    ASSERT_EQ(d.voicelist->count(), 3);
    EXPECT_EQ(d.voicelist->currentItem()->text(), QStringLiteral("Jakub"));
    EXPECT_FALSE(d.pitchtb->isEnabled());
    EXPECT_TRUE(a.form1->Voicesubmenu->isEnabled());
    // Tab order: the list, the three sliders, the two buttons.
    std::vector<QWidget *> order{d.voicelist};
    for (QWidget *w = d.voicelist->nextInFocusChain(); order.size() < 6; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            order.push_back(w);
    EXPECT_EQ(order, (std::vector<QWidget *>{d.voicelist, d.pitchtb, d.speedtb, d.volumetb,
                                             d.vyberhlasbitbtn, d.closebitbtn}));
}

TEST_F(voicedialog, slidersetup) {
    r.speedmin = 50;
    r.speedmax = 350;
    r.speedcur = 150;
    r.volumecur = 0xC000C000; // left and right level 49152
    application &a = start();
    a.sapi4.preparevoice();
    TForm4 &d = *a.form4;
    EXPECT_EQ(log.with("Select "), (std::vector<std::string>{"Jakub"}));
    EXPECT_EQ(d.speedtb->minimum(), 50);
    EXPECT_EQ(d.speedtb->maximum(), 350);
    EXPECT_EQ(d.speedtb->value(), 150);
    EXPECT_EQ(d.speedtb->tickInterval(), 30);
    EXPECT_EQ(d.volumetb->minimum(), 0);
    EXPECT_EQ(d.volumetb->maximum(), 255);
    EXPECT_EQ(d.volumetb->value(), 192);
    EXPECT_EQ(d.pitchtb->maximum(), 99);
    EXPECT_EQ(d.pitchtb->tickInterval(), 9);
    EXPECT_TRUE(d.pitchtb->isEnabled() && d.pitchstatic->isEnabled());
    // The engine's own values went back into it through the sliders.
    EXPECT_EQ(log.with("Inject ").back(), "\\Vol=49152\\");
    EXPECT_EQ(enumerator->last->attrs.speed, 150u);

    log.calls.clear();
    d.volumetb->setValue(200);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"AudioReset", "Inject \\Vol=51200\\"}));
}

TEST_F(voicedialog, anattributetheenginelacksleavesitsslideraloneyetenabled) {
    r.pitch = false;
    application &a = start();
    a.sapi4.preparevoice();
    EXPECT_EQ(a.form4->pitchtb->maximum(), 10);
    EXPECT_TRUE(a.form4->pitchtb->isEnabled());
    EXPECT_EQ(a.form4->speedtb->maximum(), 450);
}

TEST_F(voicedialog, storedvaluesareheldwithintheengineranges) {
    writefile("vlak.ini",
              "[voice]\nvoiceallowed=1\nperson=JAKUB\npitch=abc\nspeed=9999\nvolume=-5\n");
    application &a = start();
    a.sapi4.readvoicesettings();
    EXPECT_EQ(a.form4->voicelist->currentItem()->text(), QStringLiteral("Jakub"));
    EXPECT_EQ(a.form4->pitchtb->value(), 0);
    EXPECT_EQ(a.form4->speedtb->value(), 450);
    EXPECT_EQ(a.form4->volumetb->value(), 0);
}

TEST_F(voicedialog, astoredvoicenotinstalledendsatthenextrun) {
    writefile("vlak.ini", "[voice]\nvoiceallowed=1\nperson=Zuzana\n");
    application &a = start();
    try {
        a.cycle.StartsubmenuClick();
        FAIL() << "the process goes on";
    } catch (const ended &e) {
        EXPECT_EQ(e.code, 1);
    }
    EXPECT_EQ(messages, QStringList{text(43) + QStringLiteral(" Zuzana")});
}

TEST_F(voicedialog, thefirstrunpreparesandstoresthedefaultvoice) {
    application &a = start();
    a.programentry = [](zumcommands &) {};
    a.cycle.StartsubmenuClick();
    EXPECT_TRUE(a.speech.flags.engineready);
    EXPECT_EQ(
        readfile("vlak.ini"),
        QByteArray("[voice]\nvoiceallowed=1\nperson=Jakub\npitch=50\nspeed=175\nvolume=255\n"));
    EXPECT_EQ(log.with("TextData ").back(), "hotovo");
}

TEST_F(voicedialog, escapespeaksthetitleandleavesthesettingsunchanged) {
    writefile("vlak.ini", "[voice]\nvoiceallowed=1\nperson=Eva\npitch=20\nspeed=300\nvolume=100\n");
    application &a = start();
    showwindow();
    a.sapi4.readvoicesettings();
    const QByteArray before = readfile("vlak.ini");
    log.calls.clear();
    whenmodal<TForm4>([](TForm4 &d) {
        EXPECT_TRUE(d.voicedialogshown);
        QTest::keyClick(d.voicelist, Qt::Key_Up); // Jakub, spoken in Eva's voice
        d.pitchtb->setValue(70);
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    a.form1->Voicesubmenu->trigger();
    EXPECT_EQ(readfile("vlak.ini"), before);
    EXPECT_FALSE(a.form4->voicedialogshown);
    const std::vector<std::string> spoken = log.with("TextData ");
    ASSERT_GE(spoken.size(), 4u);
    EXPECT_EQ(spoken[0], a.lang.text(11));
    EXPECT_EQ(spoken[1], a.lang.text(12) + " Eva");
    EXPECT_EQ(std::count(spoken.begin(), spoken.end(), "Jakub"), 1);
    EXPECT_EQ(spoken.back(), codepage::tocp1250(a.form1->windowTitle()));
}

TEST_F(voicedialog, okstoresthechoiceandconfirmsinthenewvoice) {
    application &a = start();
    showwindow();
    whenmodal<TForm4>([](TForm4 &d) {
        QTest::keyClick(d.voicelist, Qt::Key_Down); // Eva
        QTest::keyClick(&d, Qt::Key_Return);
    });
    a.form1->Voicesubmenu->trigger();
    EXPECT_TRUE(readfile("vlak.ini").contains("person=Eva"));
    EXPECT_EQ(log.with("Select ").back(), "Eva");
    EXPECT_EQ(log.with("TextData ").back(), a.lang.text(19));
}

// Switching the system voice off enables the Voice item whatever the voice; not allowed, the
// command then only shows text 18.
TEST_F(voicedialog, thevoicecommandwiththevoicenotallowedshowstext18) {
    writefile("vlak.ini", "[voice]\nvoiceallowed=0\nsapi5=1\n");
    application &a = start();
    showwindow();
    EXPECT_TRUE(a.form1->usesapi5submenu->isChecked());
    EXPECT_FALSE(a.form1->Voicesubmenu->isEnabled());
    a.form1->usesapi5submenu->trigger();
    EXPECT_FALSE(a.speech.flags.usesapi5 || a.speech.flags.engineready);
    EXPECT_TRUE(a.form1->Voicesubmenu->isEnabled());
    EXPECT_TRUE(readfile("vlak.ini").toLower().contains("sapi5=0"));
    a.form1->Voicesubmenu->trigger();
    EXPECT_EQ(messages, QStringList{text(18)});
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
