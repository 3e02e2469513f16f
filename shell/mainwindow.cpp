#include "shell/mainwindow.h"

#include "platform/codepage/cp1250.h"
#include "shell/language.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace {

QString caption(const language &lang, int offset, const char *suffix = "") {
    return codepage::fromcp1250(lang.text(offset)) + QString::fromLatin1(suffix);
}

} // namespace

TForm1::TForm1(const language &lang, const QString &title) {
    setWindowTitle(title);

    // Menu captions in the order the window has always set them.
    Programmenu = menuBar()->addMenu(caption(lang, 2));
    Startsubmenu = Programmenu->addAction(caption(lang, 3));
    Startsubmenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    exitsubmenu = Programmenu->addAction(caption(lang, 33));

    settingsmenu = menuBar()->addMenu(caption(lang, 4));
    braillekeyboarditem = new QAction(caption(lang, 46), this);
    soundssubmenu = new QAction(caption(lang, 20, "..."), this);
    Voicesubmenu = new QAction(caption(lang, 38, "..."), this);
    usesapi5submenu = new QAction(caption(lang, 27), this);
    environmentsubmenu = new QAction(caption(lang, 5, "..."), this);
    braillekeyboarditem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    soundssubmenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    Voicesubmenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    usesapi5submenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    environmentsubmenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    for (QAction *a : {braillekeyboarditem, usesapi5submenu})
        a->setCheckable(true);
    Voicesubmenu->setEnabled(false); // start-up enables it when the voice is allowed
    usesapi5submenu->setVisible(false);
    settingsmenu->addActions(
        {braillekeyboarditem, soundssubmenu, Voicesubmenu, usesapi5submenu, environmentsubmenu});

    helpmenu = menuBar()->addMenu(caption(lang, 34));
    aboutsubmenu = helpmenu->addAction(caption(lang, 35));

    printmemo = new QPlainTextEdit(this);
    printmemo->setObjectName("printmemo");
    printmemo->setAccessibleName(QStringLiteral("Screen"));
    printmemo->setReadOnly(true);
    printmemo->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    printmemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    printmemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    printmemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(11);
    printmemo->setFont(font);
    // Exactly 80 columns by 24 rows, with the frame and the document margin around them.
    const QFontMetrics metrics(font);
    const int margin = 2 * (printmemo->frameWidth() + int(printmemo->document()->documentMargin()));
    printmemo->setFixedSize(80 * metrics.horizontalAdvance(QLatin1Char('M')) + margin + 2,
                            24 * metrics.lineSpacing() + margin + 2);
    setCentralWidget(printmemo);
    printmemo->setFocus();
}

void TForm1::showscreen(const screen::rows &rows) {
    QString text;
    for (int i = 0; i < screen::rowcount; ++i) {
        if (i > 0)
            text += QLatin1Char('\n');
        text += codepage::fromcp1250(rows[size_t(i)]);
    }
    printmemo->setPlainText(text);
}

QString TForm1::screentext() const { return printmemo->toPlainText(); }

void TForm1::closeEvent(QCloseEvent *event) {
    if (!onclose || onclose())
        event->accept();
    else
        event->ignore();
}
