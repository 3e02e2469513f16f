#pragma once

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QPushButton;
class language;

// The environment dialog: the interface language. A click changes the language of looked-up
// texts at once; OK stores it; Cancel stores nothing but keeps the clicked language.
class TForm3 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm3(language &lang, QWidget *parent = nullptr);

    // The Environment command. Throws profile::profileerror when the choice cannot be stored.
    void environmentsubmenuClick();

    QGroupBox *languagergroup;
    QButtonGroup *languagebuttons; // the items of the group; the id of each is its base
    QPushButton *okbitbtn, *cancelbitbtn;

  protected:
    void showEvent(QShowEvent *event) override;

  private:
    void focusgroup();
    void captions();
    void languageClick(int base);
    int itemindex() const;
    language &lang;
};
