#include "shell/soundsdialog.h"

#include "platform/codepage/cp1250.h"
#include "runtime/sounds.h"
#include "shell/dialogbuttons.h"
#include "shell/language.h"
#include "shell/messagebox.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

TForm5::TForm5(const language &lang, wiring w, QWidget *parent)
    : QDialog(parent), lang(lang), w(std::move(w)) {
    const auto caption = [&lang](int offset) { return codepage::fromcp1250(lang.text(offset)); };
    setWindowTitle(caption(21));
    voicecheckbox = new QCheckBox(caption(22), this);
    zumirasoundschk = new QCheckBox(caption(39), this);
    sndvolstatic = new QLabel(caption(28), this);
    sndvoltrackbar = new QSlider(Qt::Horizontal, this);
    sndvoltrackbar->setRange(0, 100);
    sndvoltrackbar->setPageStep(10);
    sndvolstatic->setBuddy(sndvoltrackbar);
    okbitbtn = new QPushButton(caption(7), this);
    cancelbitbtn = new QPushButton(caption(8), this);

    connect(sndvoltrackbar, &QSlider::valueChanged, this, &TForm5::sndvoltrackbarChange);
    connect(zumirasoundschk, &QCheckBox::clicked, sndvoltrackbar, &QWidget::setEnabled);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(voicecheckbox);
    layout->addWidget(zumirasoundschk);
    layout->addWidget(sndvolstatic);
    layout->addWidget(sndvoltrackbar);
    layout->addLayout(okcancelrow(this, okbitbtn, cancelbitbtn));
}

void TForm5::sndvoltrackbarChange(int p) {
    w.sounds.sndvolume = volume(p);
    // Only a move the user makes is heard; setting the position before showing is silent. The
    // tone obeys the product sounds as they were when the dialog opened.
    if (!isActiveWindow())
        return;
    try {
        w.sounds.playnotes({1000}, 100, 1);
    } catch (const std::exception &e) {
        // A sound file without the test tone's item: say so and leave the volume set.
        messagebox::showtext(QString::fromStdString(e.what()));
    }
}

void TForm5::soundssubmenuClick() {
    voicecheckbox->setChecked(w.voiceallowed);
    zumirasoundschk->setChecked(w.sounds.zumirasounds);
    // Moving the track bar rounds the volume down to a whole position (-150 becomes -200).
    sndvoltrackbar->setValue(position(w.sounds.sndvolume));
    sndvoltrackbar->setEnabled(w.sounds.zumirasounds);
    const int remembered = w.sounds.sndvolume;
    voicecheckbox->setFocus();
    if (exec() != QDialog::Accepted) {
        w.sounds.sndvolume = remembered;
        return;
    }
    applyok();
}

void TForm5::applyok() {
    if (voicecheckbox->isChecked() && !w.voiceallowed) {
        if (!w.allowvoice || !w.allowvoice()) {
            voicecheckbox->setChecked(false);
            messagebox::show(lang.text(40));
        }
    }
    w.voiceallowed = voicecheckbox->isChecked();
    w.enablevoiceitem(w.voiceallowed);
    w.sounds.zumirasounds = zumirasoundschk->isChecked();
    w.writesettings();
}
