#include "apptestbase.h"
#include "runtime/runerror.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>

namespace {

// Menu items that a run freezes, by their place in the window.
std::vector<QAction *> frozen(TForm1 &w) {
    return {w.Startsubmenu,     w.soundssubmenu,      w.environmentsubmenu,
            w.Voicesubmenu,     w.usesapi5submenu,    w.helpmenu->menuAction()};
}

} // namespace

using mainwindow = apptest;

TEST_F(mainwindow, startsinczechwith24emptyrowsandcaptions) {
    application &a = start();
    TForm1 &w = *a.form1;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("vlak - Překladač Zumira Basicu"));
    EXPECT_EQ(rows(), QStringList(24, QString()));
    EXPECT_EQ(w.printmemo->isReadOnly(), true);
    EXPECT_EQ(w.printmemo->lineWrapMode(), QPlainTextEdit::NoWrap);
    const struct {
        QAction *item;
        const char *caption;
        QKeySequence shortcut;
    } items[] = {
        {w.Programmenu->menuAction(), "&Program", {}},
        {w.Startsubmenu, "&Spustit", QKeySequence("Ctrl+S")},
        {w.exitsubmenu, "Kon&ec", {}},
        {w.settingsmenu->menuAction(), "Na&stavení", {}},
        {w.braillekeyboarditem, "&Braillská klávesnice", QKeySequence("Ctrl+B")},
        {w.soundssubmenu, "&Zvuky...", QKeySequence("Ctrl+D")},
        {w.Voicesubmenu, "&Hlas...", QKeySequence("Ctrl+H")},
        {w.usesapi5submenu, "Používat hlas SA&PI5", QKeySequence("Ctrl+P")},
        {w.environmentsubmenu, "Prostř&edí...", QKeySequence("Ctrl+E")},
        {w.helpmenu->menuAction(), "Ná&pověda", {}},
        {w.aboutsubmenu, "O progr&amu", {}},
    };
    for (const auto &i : items) {
        EXPECT_EQ(i.item->text(), QString::fromUtf8(i.caption));
        EXPECT_EQ(i.item->shortcut(), i.shortcut) << i.caption;
    }
    EXPECT_TRUE(w.usesapi5submenu->isVisible());
    // No voice enumerator yet: the first start stores the voice as not allowed.
    EXPECT_FALSE(w.Voicesubmenu->isEnabled());
    EXPECT_EQ(readfile("vlak.ini"), QByteArray("[voice]\nvoiceallowed=0\n"));
}

TEST_F(mainwindow, twostartsprintthereadymessageonrows0and1) {
    application &a = start();
    showwindow();
    int runs = 0;
    a.programentry = [&](zumcommands &rt) {
        ++runs;
        rt.printstr("", 1); // the cursor stays on the row where the run began
    };
    QTest::keyClick(a.form1->printmemo, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(a.form1->printmemo, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(runs, 2);
    const QStringList r = rows();
    EXPECT_EQ(r[0], QStringLiteral("hotovo").leftJustified(80));
    EXPECT_EQ(r[1], QStringLiteral("hotovo").leftJustified(80));
    EXPECT_EQ(r[2], QString());
    EXPECT_EQ(a.scr.scrcursor.getrow(), 2);
}

TEST_F(mainwindow, asecondrunstartsatcolumn0andkeepsearlieroutput) {
    application &a = start();
    a.programentry = [](zumcommands &rt) { rt.printstr("vlak ide", 2); };
    a.form1->Startsubmenu->trigger();
    a.programentry = [](zumcommands &rt) { rt.printstr("X", 1); };
    a.form1->Startsubmenu->trigger();
    const QStringList r = rows();
    EXPECT_EQ(r[0], QStringLiteral("vlak ide").leftJustified(8) + QStringLiteral("hotovo").leftJustified(72));
    EXPECT_EQ(r[1], QStringLiteral("Xhotovo").leftJustified(80));
}

TEST_F(mainwindow, menusarefrozenduringarunandreleasedafteranerror) {
    application &a = start();
    a.form1->Voicesubmenu->setEnabled(true);
    std::vector<bool> during;
    int runs = 0;
    a.programentry = [&](zumcommands &) {
        ++runs;
        for (QAction *item : frozen(*a.form1))
            during.push_back(item->isEnabled());
        EXPECT_TRUE(a.form1->exitsubmenu->isEnabled());
        EXPECT_TRUE(a.form1->braillekeyboarditem->isEnabled());
        // Ctrl+S during a run reaches no Start.
        QTest::keyClick(a.form1->printmemo, Qt::Key_S, Qt::ControlModifier);
        throw runerror("'%zz' is not a valid integer value");
    };
    showwindow();
    a.form1->Startsubmenu->trigger();
    EXPECT_EQ(during, std::vector<bool>(6, false));
    EXPECT_EQ(runs, 1);
    for (QAction *item : frozen(*a.form1))
        EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
    EXPECT_EQ(messages, QStringList{"'%zz' is not a valid integer value"});
    EXPECT_EQ(rows()[0], QString()); // no ready message after an error
}

TEST_F(mainwindow, closingthewindowsavesthememoryimage) {
    QByteArray image(100, '\x05');
    writefile("ram.dat", image);
    application &a = start();
    EXPECT_EQ(a.memory.peek(99), 5);
    a.form1->show();
    a.form1->close();
    const QByteArray saved = readfile("ram.dat");
    ASSERT_EQ(saved.size(), 65536);
    EXPECT_EQ(saved.left(100), image);
    EXPECT_EQ(saved.mid(100), QByteArray(65436, '\0'));
}

TEST_F(mainwindow, afailedsaveatexitistoldnotcrashed) {
    application &a = start();
    ASSERT_TRUE(QDir(folder.path()).mkdir("ram.dat"));
    a.form1->show();
    a.form1->exitsubmenu->trigger();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Cannot save the memory image")) << messages[0].toStdString();
    EXPECT_FALSE(a.form1->isVisible());
}

TEST_F(mainwindow, exitduringarunsavesandendstheprocess) {
    application &a = start();
    int endedwith = -1;
    struct ended {};
    processend::sethandler([&](int code) {
        endedwith = code;
        throw ended{};
    });
    a.programentry = [&](zumcommands &) {
        try {
            a.exitsubmenuClick();
        } catch (ended) {
        }
    };
    a.form1->Startsubmenu->trigger();
    processend::sethandler(nullptr);
    EXPECT_EQ(endedwith, 0);
    EXPECT_EQ(readfile("ram.dat").size(), 65536);
}

TEST_F(mainwindow, settingsfileliesbesidetheexecutable) {
    EXPECT_EQ(application::settingspath("/opt/hry.v2/vlak"), "/opt/hry.v2/vlak.ini");
    EXPECT_EQ(application::settingspath("/opt/hry/vlak.exe"), "/opt/hry/vlak.ini");
    profile::inifile ini(path("x.ini").toStdString());
    ini.writeint("environment", "language", 3000);
    language sk(ini);
    sk.readlanguage();
    EXPECT_EQ(application::title("/opt/hry.v2/vlak", sk), QStringLiteral("vlak - Prekladač Zumira Basicu"));
    EXPECT_EQ(application::title("C:/hry/vlak.exe", sk), QStringLiteral("vlak - Prekladač Zumira Basicu"));
}
