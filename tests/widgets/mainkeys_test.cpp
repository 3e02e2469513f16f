#include "apptestbase.h"

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

namespace {

// One real key event sent to the main window's text area, which has the focus while a program
// runs.
struct keyevent {
    enum { click, press, release } what;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    // The text the platform reports; QTest would make Shift+A type "a".
    const char *text = nullptr;
};

void send(QWidget *w, const keyevent &k) {
    switch (k.what) {
    case keyevent::click:
        if (k.text)
            QTest::sendKeyEvent(QTest::Click, w, k.key, QString::fromUtf8(k.text), k.modifiers);
        else
            QTest::keyClick(w, k.key, k.modifiers);
        break;
    case keyevent::press:
        QTest::keyPress(w, k.key, k.modifiers);
        break;
    case keyevent::release:
        QTest::keyRelease(w, k.key, k.modifiers);
        break;
    }
}

std::string code(int c) {
    return std::string(1, char(c));
}

} // namespace

using mainwindowkeys = apptest;

TEST_F(mainwindowkeys, realkeyeventsleavetheircodesinthekeybuffer) {
    const struct {
        const char *name;
        std::vector<keyevent> keys;
        std::string keybuffer;
    } cases[] = {
        {"a", {{keyevent::click, Qt::Key_A}}, "a"},
        {"Shift a", {{keyevent::click, Qt::Key_A, Qt::ShiftModifier, "A"}}, "A"},
        {"Shift a with a grave",
         {{keyevent::click, Qt::Key_Aacute, Qt::ShiftModifier, "Á"}},
         "\xc1"},
        {"a held", {{keyevent::press, Qt::Key_A}}, ""},
        {"5", {{keyevent::click, Qt::Key_5}}, "5"},
        {"space", {{keyevent::click, Qt::Key_Space}}, " "},
        {"Left held", {{keyevent::press, Qt::Key_Left}}, code(132)},
        {"Left let go", {{keyevent::click, Qt::Key_Left}}, ""},
        {"Right then Up",
         {{keyevent::press, Qt::Key_Right}, {keyevent::press, Qt::Key_Up}},
         code(137)},
        {"Right then Shift Up",
         {{keyevent::press, Qt::Key_Right}, {keyevent::press, Qt::Key_Up, Qt::ShiftModifier}},
         code(153)},
        {"space, Right, Shift Up",
         {{keyevent::press, Qt::Key_Space},
          {keyevent::press, Qt::Key_Right},
          {keyevent::press, Qt::Key_Up, Qt::ShiftModifier}},
         code(185)},
        {"Up before any run", {{keyevent::press, Qt::Key_Up}}, code(129)},
        {"Shift Backspace", {{keyevent::click, Qt::Key_Backspace, Qt::ShiftModifier}}, code(25)},
        {"Backspace", {{keyevent::click, Qt::Key_Backspace}}, code(8)},
        {"F6 held", {{keyevent::press, Qt::Key_F6}}, code(8)},
        {"Enter", {{keyevent::click, Qt::Key_Return}}, code(13)},
        {"F8 held", {{keyevent::press, Qt::Key_F8}}, code(13)},
        {"Escape", {{keyevent::click, Qt::Key_Escape}}, code(27)},
        {"F7 held", {{keyevent::press, Qt::Key_F7}}, code(7)},
        {"a, then Ctrl", {{keyevent::click, Qt::Key_A}, {keyevent::press, Qt::Key_Control}}, ""},
    };
    application &a = start();
    showwindow();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        a.library.keybuffer.clear();
        a.keys.held.clear();
        for (const keyevent &k : c.keys)
            send(a.form1->printmemo, k);
        EXPECT_EQ(a.library.keybuffer, c.keybuffer);
    }
}

TEST_F(mainwindowkeys, apolledkeyistakenonceandshortcutsstillwork) {
    application &a = start();
    showwindow();
    std::vector<std::string> taken;
    a.programentry = [&](zumcommands &rt) {
        QTimer::singleShot(30, [&] { QTest::keyClick(a.form1->printmemo, Qt::Key_A); });
        QElapsedTimer clock;
        clock.start();
        std::string key;
        while (key.empty() && clock.elapsed() < 5000)
            rt.takekeys(key);
        taken.push_back(key);
        rt.takekeys(key);
        taken.push_back(key);
    };
    QTest::keyClick(a.form1->printmemo, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(taken, (std::vector<std::string>{"a", ""}));
}

TEST_F(mainwindowkeys, akeyendsatonewait) {
    application &a = start();
    showwindow();
    qint64 waited = -1;
    a.programentry = [&](zumcommands &rt) {
        QTimer::singleShot(50, [&] { QTest::keyClick(a.form1->printmemo, Qt::Key_Space); });
        QElapsedTimer clock;
        clock.start();
        rt.playnotes({1}, 10000, 1);
        waited = clock.elapsed();
    };
    a.form1->Startsubmenu->trigger();
    EXPECT_GE(waited, 40);
    EXPECT_LT(waited, 2000);
    EXPECT_FALSE(a.sounds.tonewait);
}

TEST_F(mainwindowkeys, altf4savesthememoryimageandendstheprocess) {
    writefile("ram.dat", QByteArray(10, '\x07'));
    EXPECT_EXIT(
        {
            start();
            showwindow();
            QTest::keyClick(app->form1->printmemo, Qt::Key_F4, Qt::AltModifier);
        },
        ::testing::ExitedWithCode(0), "");
    const QByteArray saved = readfile("ram.dat");
    ASSERT_EQ(saved.size(), 65536);
    EXPECT_EQ(saved.left(11), QByteArray(10, '\x07') + '\0');
}
