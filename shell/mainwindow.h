#pragma once

#include "runtime/screen.h"

#include <QMainWindow>
#include <functional>

class QAction;
class QMenu;
class QPlainTextEdit;
class language;

// The main window: the 80 x 24 text screen and the menus. It only shows state
// and forwards commands; the application object decides what they do.
class TForm1 : public QMainWindow {
    Q_OBJECT
  public:
    TForm1(const language &lang, const QString &title);

    // Shows the screen rows in printmemo, one line per row.
    void showscreen(const screen::rows &rows);
    QString screentext() const;

    QPlainTextEdit *printmemo;
    QMenu *Programmenu, *settingsmenu, *helpmenu;
    QAction *Startsubmenu, *exitsubmenu;
    QAction *braillekeyboarditem, *soundssubmenu, *Voicesubmenu, *usesapi5submenu,
        *environmentsubmenu;
    QAction *aboutsubmenu;

    // Decides what closing the window means (save, end a run); the window closes when it
    // returns true.
    std::function<bool()> onclose;

  protected:
    void closeEvent(QCloseEvent *event) override;
};
