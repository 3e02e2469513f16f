#pragma once

#include "platform/keys/virtualkeys.h"

#include <QObject>
#include <functional>
#include <string>

// The main window's keys with the braille keyboard off: each key-down silences speech, ends a
// tone wait and leaves the code of a special key in keybuffer; the character a key types goes
// there at its key-up. Installed as an event filter on the window's text area, so it sees every
// key before the text area does; the keys then go on to the text area and the shortcuts as usual.
class mainkeys : public QObject {
    Q_OBJECT
  public:
    struct hooks {
        std::function<void()> stopspeech;
        // Ends the tone wait of playnotes when one is running.
        std::function<void()> endtonewait;
        // Alt+F4: saves the memory image, lets go of the sound output and ends the process.
        std::function<void()> exitprogram;
        std::function<bool()> runstarted;
        // The screen review, for Up or Down alone once a run has started; it empties keybuffer
        // and returns when the review closes. Nothing opens it yet.
        std::function<void()> showreview;
    };

    explicit mainkeys(std::string &keybuffer, QObject *parent = nullptr);

    // The handlers, given Windows virtual-key codes. held must already show the key of a
    // key-down as down and that of a key-up as released.
    void keydown(int vk, bool shift, bool alt);
    // The character the key types, one Windows-1250 byte.
    void keypress(char character);
    void keyup(int vk);

    hooks h;
    keys::heldkeys held;
    std::string typedkey;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void arrowkey(bool shift);
    std::string &keybuffer;
};
