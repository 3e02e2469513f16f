#include "shell/environmentdialog.h"

#include "platform/codepage/cp1250.h"
#include "shell/dialogbuttons.h"
#include "shell/language.h"
#include "shell/messagebox.h"
#include "shell/resourcelocalizer.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TForm3::TForm3(language &lang, QWidget *parent) : QDialog(parent), lang(lang) {
    languagergroup = new QGroupBox(this);
    languagebuttons = new QButtonGroup(this);
    auto *items = new QVBoxLayout(languagergroup);
    std::vector<std::pair<std::string, int>> languages;
    TResourceLocalizer::getlanguages(languages);
    for (const auto &[name, base] : languages) {
        auto *item = new QRadioButton(codepage::fromcp1250(name), languagergroup);
        languagebuttons->addButton(item, base);
        items->addWidget(item);
    }
    if (!languagebuttons->buttons().isEmpty())
        languagebuttons->buttons().first()->setChecked(true);
    connect(languagebuttons, &QButtonGroup::idClicked, this, &TForm3::languageClick);

    okbitbtn = new QPushButton(this);
    cancelbitbtn = new QPushButton(this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(languagergroup);
    layout->addLayout(okcancelrow(this, okbitbtn, cancelbitbtn));

    lang.readlanguage();
    captions();
}

void TForm3::captions() {
    setWindowTitle(codepage::fromcp1250(lang.text(10)));
    languagergroup->setTitle(codepage::fromcp1250(lang.text(9)));
    okbitbtn->setText(codepage::fromcp1250(lang.text(7)));
    cancelbitbtn->setText(codepage::fromcp1250(lang.text(8)));
}

void TForm3::languageClick(int base) {
    lang.languagebase = base;
    captions();
}

int TForm3::itemindex() const {
    const auto buttons = languagebuttons->buttons();
    for (int i = 0; i < buttons.size(); ++i)
        if (buttons[i]->isChecked())
            return i;
    return -1;
}

void TForm3::focusgroup() {
    if (QAbstractButton *checked = languagebuttons->checkedButton())
        checked->setFocus();
    else if (!languagebuttons->buttons().isEmpty())
        languagebuttons->buttons().first()->setFocus();
}

// The group takes the focus each time the dialog opens, so arrows change the language at once.
void TForm3::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    focusgroup();
}

void TForm3::environmentsubmenuClick() {
    const auto buttons = languagebuttons->buttons();
    const int wanted = lang.languagebase / 1000 - 1;
    if (wanted >= 0 && wanted < buttons.size()) {
        buttons[wanted]->setChecked(true);
    } else {
        // A stored language the catalog does not have: no item is selected.
        languagebuttons->setExclusive(false);
        for (auto *b : buttons)
            b->setChecked(false);
        languagebuttons->setExclusive(true);
    }
    const int remembered = itemindex();
    if (exec() != QDialog::Accepted)
        return;
    lang.writelanguage();
    if (itemindex() != remembered)
        messagebox::show(lang.text(6));
}
