#pragma once

#include "runtime/numericinput.h"

#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;
class language;

// The input dialog in which INPUT's line is typed: OK (also Enter) confirms the line; the close
// box cancels it; Escape does not, so a stray Escape never skips a question; the exit button
// saves the memory image and ends the program.
class TForm2 : public QDialog, public inputdialogport {
    Q_OBJECT
  public:
    explicit TForm2(const language &lang, QWidget *parent = nullptr);

    std::optional<std::string> readline() override;

    QLineEdit *inputedit;
    QPushButton *Enterbitbtn, *exitprogrambtn;

    // Saves the memory image (telling a failure) and ends the process; it does not return.
    std::function<void()> onexitprogram;

  protected:
    void keyPressEvent(QKeyEvent *event) override;
};
