#include "platform/keys/virtualkeys.h"

#include <QKeyEvent>

namespace keys {
namespace {

// Keys whose Qt code is not their virtual-key code.
int specialkey(int qtkey) {
    switch (qtkey) {
    case Qt::Key_Backspace:
        return vkback;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return vktab;
    case Qt::Key_Clear:
        return 12;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return vkreturn;
    case Qt::Key_Shift:
        return vkshift;
    case Qt::Key_Control:
        return vkcontrol;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return vkmenu;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return vkescape;
    case Qt::Key_Space:
        return vkspace;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return vkend;
    case Qt::Key_Home:
        return vkhome;
    case Qt::Key_Left:
        return vkleft;
    case Qt::Key_Up:
        return vkup;
    case Qt::Key_Right:
        return vkright;
    case Qt::Key_Down:
        return vkdown;
    case Qt::Key_Print:
        return 44;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return vkdelete;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
        return 91;
    case Qt::Key_Super_R:
        return 92;
    case Qt::Key_Menu:
        return 93;
    case Qt::Key_NumLock:
        return 144;
    case Qt::Key_ScrollLock:
        return 145;
    default:
        return 0;
    }
}

// Printable keys of a US layout, shifted or not, by the character Qt names them with.
int symbolkey(int qtkey) {
    switch (qtkey) {
    case Qt::Key_ParenRight:
        return '0';
    case Qt::Key_Exclam:
        return '1';
    case Qt::Key_At:
        return '2';
    case Qt::Key_NumberSign:
        return '3';
    case Qt::Key_Dollar:
        return '4';
    case Qt::Key_Percent:
        return '5';
    case Qt::Key_AsciiCircum:
        return '6';
    case Qt::Key_Ampersand:
        return '7';
    case Qt::Key_Asterisk:
        return '8';
    case Qt::Key_ParenLeft:
        return '9';
    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
        return 186;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
        return 187;
    case Qt::Key_Comma:
    case Qt::Key_Less:
        return 188;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        return 189;
    case Qt::Key_Period:
    case Qt::Key_Greater:
        return 190;
    case Qt::Key_Slash:
    case Qt::Key_Question:
        return 191;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
        return 192;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
        return 219;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
        return 220;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
        return 221;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
        return 222;
    default:
        return 0;
    }
}

// The number pad with NumLock on reports digits and operators with the keypad modifier.
int keypadkey(int qtkey) {
    if (qtkey >= Qt::Key_0 && qtkey <= Qt::Key_9)
        return 96 + (qtkey - Qt::Key_0);
    switch (qtkey) {
    case Qt::Key_Asterisk:
        return 106;
    case Qt::Key_Plus:
        return 107;
    case Qt::Key_Minus:
        return 109;
    case Qt::Key_Period:
    case Qt::Key_Comma:
        return 110;
    case Qt::Key_Slash:
        return 111;
    default:
        return 0;
    }
}

} // namespace

int virtualkey(int qtkey, Qt::KeyboardModifiers modifiers) {
    if (qtkey == 0 || qtkey == Qt::Key_unknown)
        return 0;
    if (modifiers & Qt::KeypadModifier)
        if (const int vk = keypadkey(qtkey))
            return vk;
    if ((qtkey >= Qt::Key_A && qtkey <= Qt::Key_Z) || (qtkey >= Qt::Key_0 && qtkey <= Qt::Key_9))
        return qtkey; // Qt numbers letters and digits by their ASCII capitals, as Windows does
    if (qtkey >= Qt::Key_F1 && qtkey <= Qt::Key_F24)
        return vkf1 + (qtkey - Qt::Key_F1);
    if (const int vk = specialkey(qtkey))
        return vk;
    if (const int vk = symbolkey(qtkey))
        return vk;
    // Other keys that type a character (accented letters of national layouts) still need a
    // code of 32 or more, so that their character reaches the program at key-up.
    if (qtkey < 0x01000000)
        return vkoem8;
    return 0;
}

int heldkeys::press(const QKeyEvent &event) {
    const int vk = virtualkey(event.key(), event.modifiers());
    if (event.nativeScanCode() != 0)
        byscancode[event.nativeScanCode()] = vk;
    press(vk);
    return vk;
}

int heldkeys::release(const QKeyEvent &event) {
    int vk = virtualkey(event.key(), event.modifiers());
    // Shift released first turns "!" into "1" at the release; the scan code names the key.
    const auto known = byscancode.find(event.nativeScanCode());
    if (event.nativeScanCode() != 0 && known != byscancode.end())
        vk = known->second;
    if (event.isAutoRepeat())
        return vk;
    if (known != byscancode.end())
        byscancode.erase(known);
    release(vk);
    return vk;
}

void heldkeys::press(int vk) {
    if (vk > 0 && vk < 256)
        down.set(size_t(vk));
}

void heldkeys::release(int vk) {
    if (vk > 0 && vk < 256)
        down.reset(size_t(vk));
}

void heldkeys::clear() {
    down.reset();
    byscancode.clear();
}

} // namespace keys
