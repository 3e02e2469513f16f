#include "braille/inputdialog.h"

#include "platform/codepage/cp1250.h"
#include "shell/language.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int titletext = 23, oktext = 7, exittext = 45;

QString caption(const language &lang, int offset) {
    return codepage::fromcp1250(lang.text(offset));
}

} // namespace

TForm2::TForm2(const language &lang, QWidget *parent) : QDialog(parent) {
    setWindowTitle(caption(lang, titletext));
    inputedit = new QLineEdit(this);
    inputedit->setAccessibleName(windowTitle());
    Enterbitbtn = new QPushButton(caption(lang, oktext), this);
    exitprogrambtn = new QPushButton(caption(lang, exittext), this);
    Enterbitbtn->setDefault(true);
    exitprogrambtn->setAutoDefault(false);
    connect(Enterbitbtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(exitprogrambtn, &QPushButton::clicked, this, [this] {
        if (onexitprogram)
            onexitprogram();
    });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Enterbitbtn);
    buttons->addWidget(exitprogrambtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(inputedit);
    layout->addLayout(buttons);
    setTabOrder(inputedit, Enterbitbtn);
    setTabOrder(Enterbitbtn, exitprogrambtn);
}

std::optional<std::string> TForm2::readline() {
    inputedit->clear();
    inputedit->setFocus();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return codepage::tocp1250(inputedit->text());
}

void TForm2::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
