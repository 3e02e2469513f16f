#include "apptestbase.h"
#include "braille/inputdialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// Types a line into the dialog's box and confirms it with Enter.
void typeline(TForm2 &d, const QString &line) {
    QTest::keyClicks(d.focusWidget(), line);
    QTest::keyClick(d.focusWidget(), Qt::Key_Return);
}

} // namespace

using inputdialog = apptest;

TEST_F(inputdialog, typedtwelveandenteraretheprogramsnumber) {
    application &a = start();
    showwindow();
    double value = -1;
    a.programentry = [&](zumcommands &rt) { rt.inputnum(value, 0); };
    whenmodal<TForm2>([](TForm2 &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Vlož data"));
        EXPECT_EQ(d.Enterbitbtn->text(), QStringLiteral("&Ok"));
        EXPECT_EQ(d.exitprogrambtn->text(), QStringLiteral("U&končit program"));
        EXPECT_EQ(d.focusWidget(), d.inputedit);
        typeline(d, "12");
    });
    a.form1->Startsubmenu->trigger();
    EXPECT_EQ(value, 12);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(inputdialog, escapestaysandtheclosboxcancels) {
    application &a = start();
    showwindow();
    double value = 7.5;
    bool openafterescape = false;
    a.programentry = [&](zumcommands &rt) { rt.inputnum(value, 0); };
    whenmodal<TForm2>([&](TForm2 &d) {
        QTest::keyClicks(d.inputedit, "3");
        // An accidental Escape must not skip the question.
        QTest::keyClick(d.inputedit, Qt::Key_Escape);
        openafterescape = d.isVisible() && d.inputedit->text() == QStringLiteral("3");
        d.close();
    });
    a.form1->Startsubmenu->trigger();
    EXPECT_TRUE(openafterescape);
    EXPECT_EQ(value, 7.5);
    EXPECT_FALSE(a.form2->isVisible());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(inputdialog, lettersareretypedonce) {
    application &a = start();
    showwindow();
    double value = -1;
    int openings = 0;
    a.programentry = [&](zumcommands &rt) { rt.inputnum(value, 0); };
    whenmodal<TForm2>([&](TForm2 &d) {
        ++openings;
        whenmodal<TForm2>([&](TForm2 &again) {
            ++openings;
            EXPECT_EQ(again.inputedit->text(), QString()); // the box opens empty
            typeline(again, "7");
        });
        typeline(d, "abc");
    });
    a.form1->Startsubmenu->trigger();
    EXPECT_EQ(value, 7);
    EXPECT_EQ(openings, 2);
    const QStringList r = rows();
    EXPECT_EQ(r[0], QStringLiteral("Prosím přepiš").leftJustified(80));
    EXPECT_EQ(r[1], QStringLiteral("hotovo").leftJustified(80));
    EXPECT_EQ(r[2], QString());
}

TEST_F(inputdialog, theexitbuttonsavesthememoryimageandendstheprocess) {
    EXPECT_EXIT(
        {
            application &a = start();
            showwindow();
            double value = 0;
            a.programentry = [&](zumcommands &rt) { rt.inputnum(value, 0); };
            whenmodal<TForm2>([](TForm2 &d) { QTest::mouseClick(d.exitprogrambtn, Qt::LeftButton); });
            a.form1->Startsubmenu->trigger();
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(readfile("ram.dat").size(), 65536);
}
