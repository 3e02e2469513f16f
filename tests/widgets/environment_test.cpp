#include "apptestbase.h"
#include "shell/environmentdialog.h"

#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

QString checkedname(TForm3 &d) { return d.languagebuttons->checkedButton()->text(); }

} // namespace

using environment = apptest;

TEST_F(environment, clickingenglishrecaptionsthedialogandokstoresit) {
    application &a = start();
    showwindow();
    QString titleafterclick, groupafterclick;
    whenmodal<TForm3>([&](TForm3 &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Nastavení prostředí"));
        EXPECT_EQ(d.languagergroup->title(), QStringLiteral("&jazyk"));
        EXPECT_EQ(d.okbitbtn->text(), QStringLiteral("&Ok"));
        EXPECT_EQ(d.cancelbitbtn->text(), QStringLiteral("Zrušit"));
        EXPECT_EQ(checkedname(d), QStringLiteral("Čeština"));
        ASSERT_EQ(d.focusWidget(), d.languagebuttons->checkedButton());
        QTest::keyClick(d.focusWidget(), Qt::Key_Down);
        EXPECT_EQ(checkedname(d), QStringLiteral("English"));
        titleafterclick = d.windowTitle();
        groupafterclick = d.languagergroup->title();
        QTest::keyClick(d.focusWidget(), Qt::Key_Return);
    });
    QTest::keyClick(a.form1->printmemo, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(titleafterclick, QStringLiteral("environment settings"));
    EXPECT_EQ(groupafterclick, QStringLiteral("&Language"));
    EXPECT_EQ(messages,
              QStringList{"Your changes will be applied after you restart the program."});
    EXPECT_TRUE(readfile("vlak.ini").contains("[environment]\nlanguage=2000\n"));
    // Menus keep the language they were made in; looked-up texts follow at once.
    EXPECT_EQ(a.form1->Startsubmenu->text(), QStringLiteral("&Spustit"));
    a.programentry = [](zumcommands &) {};
    a.form1->Startsubmenu->trigger();
    EXPECT_EQ(rows()[0], QStringLiteral("ready").leftJustified(80));
}

TEST_F(environment, thesamelanguagewithokwritesandsaysnothing) {
    application &a = start();
    whenmodal<TForm3>([](TForm3 &d) { d.okbitbtn->click(); });
    a.form1->environmentsubmenu->trigger();
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(readfile("vlak.ini").contains("language=1000"));
}

TEST_F(environment, cancelwritesnothingbutkeepstheclickedlanguage) {
    writefile("vlak.ini", "[environment]\nlanguage=3000\n");
    application &a = start();
    EXPECT_EQ(a.form1->Startsubmenu->text(), QStringLiteral("&Spustiť"));
    whenmodal<TForm3>([](TForm3 &d) {
        EXPECT_EQ(checkedname(d), QStringLiteral("Slovenčina"));
        d.languagebuttons->button(2000)->click();
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    const QByteArray before = readfile("vlak.ini");
    a.form1->environmentsubmenu->trigger();
    EXPECT_EQ(readfile("vlak.ini"), before);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(a.lang.text(25), "ready");
}

TEST_F(environment, anunknownstoredlanguageselectsnoitem) {
    writefile("vlak.ini", "[environment]\nlanguage=5000\n");
    application &a = start();
    EXPECT_EQ(a.form1->Startsubmenu->text(), QString()); // no texts at that base
    whenmodal<TForm3>([](TForm3 &d) {
        EXPECT_EQ(d.languagebuttons->checkedButton(), nullptr);
        d.languagebuttons->button(1000)->click();
        d.okbitbtn->click();
    });
    a.form1->environmentsubmenu->trigger();
    EXPECT_EQ(messages.size(), 1);
    EXPECT_TRUE(readfile("vlak.ini").contains("language=1000"));
}
