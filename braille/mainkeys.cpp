#include "braille/mainkeys.h"

#include "platform/codepage/cp1250.h"

#include <QKeyEvent>

using namespace keys;

mainkeys::mainkeys(std::string &keybuffer, QObject *parent)
    : QObject(parent), keybuffer(keybuffer) {}

void mainkeys::keydown(int vk, bool shift, bool alt) {
    if (h.stopspeech)
        h.stopspeech();
    if (h.endtonewait)
        h.endtonewait();
    switch (vk) {
    case vkback:
    case vkf6:
        keybuffer = std::string(1, shift ? '\x19' : '\x08');
        break;
    case vkreturn:
    case vkf8:
        keybuffer = "\x0d";
        break;
    case vkescape:
        keybuffer = "\x1b";
        break;
    case vkf7:
        keybuffer = "\x07";
        break;
    case vkshift:
    case vkcontrol:
    case vkmenu:
        keybuffer.clear();
        break;
    case vkleft:
    case vkup:
    case vkright:
    case vkdown:
        arrowkey(shift);
        break;
    case vkf4:
        if (alt && h.exitprogram)
            h.exitprogram();
        break;
    default:
        break;
    }
}

void mainkeys::arrowkey(bool shift) {
    const int code = 128 + (held.held(vkup) ? 1 : 0) + (held.held(vkdown) ? 2 : 0) +
                     (held.held(vkleft) ? 4 : 0) + (held.held(vkright) ? 8 : 0);
    const bool space = held.held(vkspace);
    keybuffer = std::string(1, char(code));
    if ((code == 129 || code == 130) && !shift && !space && h.showreview && h.runstarted &&
        h.runstarted()) {
        h.showreview();
        return;
    }
    keybuffer = std::string(1, char(code + (shift ? 16 : 0) + (space ? 32 : 0)));
}

void mainkeys::keypress(char character) {
    typedkey = std::string(1, character);
}

void mainkeys::keyup(int vk) {
    // A modifier types nothing: letting go of Shift just before the letter it capitalised must
    // not lose the letter.
    if (vk == vkshift || vk == vkcontrol || vk == vkmenu)
        return;
    if (vk >= 32)
        keybuffer = typedkey;
    typedkey.clear();
}

bool mainkeys::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto &key = static_cast<const QKeyEvent &>(*event);
        const int vk = held.press(key);
        const bool alt = key.modifiers() & Qt::AltModifier;
        keydown(vk, key.modifiers() & Qt::ShiftModifier, alt);
        // Alt combinations type nothing on the original platform; Delete's DEL is no character.
        const QString text = key.text();
        if (!text.isEmpty() && !alt && text != QStringLiteral("\x7f")) {
            const std::string bytes = codepage::tocp1250(text);
            if (!bytes.empty())
                keypress(bytes.back());
        }
        break;
    }
    case QEvent::KeyRelease: {
        const auto &key = static_cast<const QKeyEvent &>(*event);
        // X11 auto-repeat sends a release before every repeated press; the key is still down.
        if (!key.isAutoRepeat())
            keyup(held.release(key));
        break;
    }
    case QEvent::FocusOut:
        held.clear();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
