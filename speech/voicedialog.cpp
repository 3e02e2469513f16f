#include "speech/voicedialog.h"

#include "platform/codepage/cp1250.h"
#include "platform/profile/inifile.h"
#include "platform/tts5/tts5.h"
#include "shell/language.h"
#include "shell/messagebox.h"
#include "speech/sapi4voice.h"
#include "speech/speechfront.h"
#include "speech/speechplatform.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <exception>

namespace {

// Handlers run from the toolkit's signals and events: a failure is shown, as the toolkit's
// default handler would, instead of unwinding through the toolkit.
template <class F> void reported(F &&f) {
    try {
        f();
    } catch (const std::exception &e) {
        messagebox::showtext(QString::fromStdString(e.what()));
    }
}

QSlider *newslider(QWidget *parent) {
    auto *s = new QSlider(Qt::Horizontal, parent);
    s->setRange(0, 10);
    s->setValue(0);
    s->setTickInterval(1);
    s->setTickPosition(QSlider::TicksBelow);
    s->setEnabled(false);
    return s;
}

} // namespace

TForm4::TForm4(context ctx, QWidget *parent) : QDialog(parent), c(std::move(ctx)) {
    voicelist = new QListWidget(this);
    voicestatic = new QLabel(this);
    pitchtb = newslider(this);
    pitchstatic = new QLabel(this);
    speedtb = newslider(this);
    speedstatic = new QLabel(this);
    volumetb = newslider(this);
    volumestatic = new QLabel(this);
    vyberhlasbitbtn = new QPushButton(this);
    closebitbtn = new QPushButton(this);
    voicelist->setObjectName("voicelist");
    pitchtb->setObjectName("pitchtb");
    speedtb->setObjectName("speedtb");
    volumetb->setObjectName("volumetb");
    vyberhlasbitbtn->setObjectName("vyberhlasbitbtn");
    closebitbtn->setObjectName("closebitbtn");

    voicestatic->setBuddy(voicelist);
    pitchstatic->setBuddy(pitchtb);
    speedstatic->setBuddy(speedtb);
    volumestatic->setBuddy(volumetb);
    for (QLabel *l : {pitchstatic, speedstatic, volumestatic})
        l->setEnabled(false);

    // The list at the left; the sliders under their labels at the right; the buttons below.
    auto *grid = new QGridLayout(this);
    grid->addWidget(voicestatic, 0, 0);
    grid->addWidget(voicelist, 1, 0, 6, 1);
    grid->addWidget(pitchstatic, 0, 1);
    grid->addWidget(pitchtb, 1, 1);
    grid->addWidget(speedstatic, 2, 1);
    grid->addWidget(speedtb, 3, 1);
    grid->addWidget(volumestatic, 4, 1);
    grid->addWidget(volumetb, 5, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(vyberhlasbitbtn);
    buttons->addWidget(closebitbtn);
    grid->addLayout(buttons, 7, 0, 1, 2);

    QWidget::setTabOrder(voicelist, pitchtb);
    QWidget::setTabOrder(pitchtb, speedtb);
    QWidget::setTabOrder(speedtb, volumetb);
    QWidget::setTabOrder(volumetb, vyberhlasbitbtn);
    QWidget::setTabOrder(vyberhlasbitbtn, closebitbtn);

    vyberhlasbitbtn->setDefault(true);
    vyberhlasbitbtn->setAutoDefault(true);
    closebitbtn->setAutoDefault(false);
    connect(vyberhlasbitbtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(closebitbtn, &QPushButton::clicked, this, &QDialog::reject);

    for (QWidget *w : std::initializer_list<QWidget *>{voicelist, pitchtb, speedtb, volumetb,
                                                       vyberhlasbitbtn, closebitbtn})
        w->installEventFilter(this);
    connect(voicelist, &QListWidget::currentRowChanged, this,
            [this] { reported([this] { c.sapi4.voicelistClick(); }); });
    connect(pitchtb, &QSlider::valueChanged, this, [this](int v) { sliderChange("\\Pit=", v, 1); });
    connect(speedtb, &QSlider::valueChanged, this, [this](int v) { sliderChange("\\Spd=", v, 1); });
    connect(volumetb, &QSlider::valueChanged, this,
            [this](int v) { sliderChange("\\Vol=", v, 256); });

    c.sapi4.attach(this);
    FormCreate();
}

TForm4::~TForm4() {
    c.sapi4.attach(nullptr);
    if (c.speech.voice5 == voice5.get())
        c.speech.voice5 = nullptr;
}

void TForm4::FormCreate() {
    // The system voice connects when its event interests are set; its events drive the waits.
    voice5 = speechplatform::createvoice(c.sapi4.audiodestination());
    if (voice5) {
        connect(voice5.get(), &tts5::automationvoice::StartStream, this,
                [this] { c.speech.voice5StartStream(); });
        connect(voice5.get(), &tts5::automationvoice::EndStream, this,
                [this] { c.speech.voice5EndStream(); });
        c.speech.voice5 = voice5.get();
        checkspeech(voice5->setEventInterests(tts5::sveallevents));
    }
    const auto text = [this](int offset) { return codepage::fromcp1250(c.lang.text(offset)); };
    setWindowTitle(text(11));
    voicestatic->setText(text(12));
    pitchstatic->setText(text(13));
    speedstatic->setText(text(14));
    volumestatic->setText(text(15));
    vyberhlasbitbtn->setText(text(16));
    closebitbtn->setText(text(17));
    c.speech.flags.voiceallowed = c.ini.readint("voice", "voiceallowed", 1) != 0;
    if (c.speech.flags.voiceallowed)
        c.sapi4.fillvoicelist();
}

bool TForm4::active() const {
    return isActiveWindow();
}

std::string TForm4::caption(const QWidget *label) const {
    return codepage::tocp1250(static_cast<const QLabel *>(label)->text());
}

void TForm4::say(const std::string &text) {
    c.speech.say(text);
}
void TForm4::sayqt(const QString &text) {
    c.speech.say(codepage::tocp1250(text));
}

void TForm4::changeEvent(QEvent *event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible())
        reported([this] { FormActivate(); });
}

void TForm4::FormActivate() {
    say(c.lang.text(11));
    const QListWidgetItem *item = voicelist->currentItem();
    say(caption(voicestatic) + " " + (item ? codepage::tocp1250(item->text()) : std::string()));
    voicedialogshown = true;
}

void TForm4::done(int result) {
    voicedialogshown = false;
    QDialog::done(result);
}

bool TForm4::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == voicelist)
            reported([this] { voicelistEnter(); });
        else if (watched == pitchtb)
            reported([this] { sliderEnter(pitchstatic, pitchtb); });
        else if (watched == speedtb)
            reported([this] { sliderEnter(speedstatic, speedtb); });
        else if (watched == volumetb)
            reported([this] { sliderEnter(volumestatic, volumetb); });
        else if (watched == vyberhlasbitbtn || watched == closebitbtn)
            reported([this, watched] { buttonEnter(static_cast<QPushButton *>(watched)); });
    }
    return QDialog::eventFilter(watched, event);
}

void TForm4::voicelistEnter() {
    if (!voicedialogshown)
        return;
    if (active())
        c.sapi4.cutoff();
    const QListWidgetItem *item = voicelist->currentItem();
    say(caption(voicestatic) + " " + (item ? codepage::tocp1250(item->text()) : std::string()));
}

void TForm4::sliderEnter(QLabel *label, QSlider *slider) {
    if (active())
        c.sapi4.cutoff();
    say(caption(label) + " " + std::to_string(slider->value()));
}

void TForm4::buttonEnter(QPushButton *button) {
    if (active())
        c.sapi4.cutoff();
    sayqt(button->text());
}

void TForm4::sliderChange(const char *tag, int position, int factor) {
    reported([&] {
        c.sapi4.cutoff();
        c.sapi4.inject(tag + std::to_string(position * factor) + "\\");
        if (active())
            say(std::to_string(position));
    });
}

void TForm4::VoicesubmenuClick() {
    if (!c.speech.flags.voiceallowed) {
        messagebox::show(c.lang.text(18));
        return;
    }
    if (!c.speech.flags.engineready) {
        c.sapi4.preparevoice();
        c.sapi4.writevoicesettings();
    }
    c.sapi4.readvoicesettings();
    voicelist->setFocus();
    if (exec() == QDialog::Accepted) {
        c.sapi4.writevoicesettings();
        c.sapi4.readvoicesettings();
        say(c.lang.text(19));
    } else {
        sayqt(c.maintitle ? c.maintitle() : QString());
    }
}
