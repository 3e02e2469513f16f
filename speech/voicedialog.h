#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

class QLabel;
class QListWidget;
class QPushButton;
class QSlider;
class language;
class sapi4voice;
class speechfront;
namespace profile {
class inifile;
}
namespace tts5 {
class automationvoice;
}

// The voice settings dialog: the embedded engine's voice, pitch, speed and volume, chosen by
// keyboard alone with every control and value spoken. It also holds the system voice.
class TForm4 : public QDialog {
    Q_OBJECT
  public:
    struct context {
        const language &lang;
        speechfront &speech;
        sapi4voice &sapi4;
        profile::inifile &ini;
        // The main window's title, spoken when the dialog is cancelled.
        std::function<QString()> maintitle;
    };
    TForm4(context ctx, QWidget *parent = nullptr);
    ~TForm4() override;

    // The Voice command.
    void VoicesubmenuClick();
    // The dialog is the application's active window.
    bool active() const;

    QListWidget *voicelist;
    QLabel *voicestatic, *pitchstatic, *speedstatic, *volumestatic;
    QSlider *pitchtb, *speedtb, *volumetb;
    QPushButton *vyberhlasbitbtn, *closebitbtn;
    std::unique_ptr<tts5::automationvoice> voice5;
    bool voicedialogshown = false;

  public slots:
    void done(int result) override;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

  private:
    void FormCreate();
    void FormActivate();
    void voicelistEnter();
    void sliderEnter(QLabel *label, QSlider *slider);
    void buttonEnter(QPushButton *button);
    void sliderChange(const char *tag, int position, int factor);
    void say(const std::string &text);
    void sayqt(const QString &text);
    std::string caption(const QWidget *label) const;

    context c;
};
