#pragma once

#include <Qt>
#include <bitset>
#include <unordered_map>

class QKeyEvent;

// Windows virtual-key codes for Qt key events, and the set of keys held down. The key logic is
// written against the codes of the original platform; Qt reports its own key numbers, and native
// codes are not available everywhere (they are 0 under QTest and on the offscreen platform).
namespace keys {

enum : int {
    vkback = 8,
    vktab = 9,
    vkreturn = 13,
    vkshift = 16,
    vkcontrol = 17,
    vkmenu = 18, // Alt
    vkescape = 27,
    vkspace = 32,
    vkend = 35,
    vkhome = 36,
    vkleft = 37,
    vkup = 38,
    vkright = 39,
    vkdown = 40,
    vkdelete = 46,
    vkf1 = 112,
    vkf4 = 115,
    vkf6 = 117,
    vkf7 = 118,
    vkf8 = 119,
    vkf12 = 123,
    vkoem8 = 223, // stands for character keys of other layouts
};

// The virtual-key code of a Qt key; 0 for Qt::Key_unknown and keys without one. A shifted symbol
// gives the code of the key that types it on a US layout (Key_Exclam gives the code of "1"), so
// a key's press and release agree whatever the Shift state was at either.
int virtualkey(int qtkey, Qt::KeyboardModifiers modifiers);

// The keys held down, as the key events reported them. A repeated press (X11 auto-repeat) only
// confirms a held key; a repeated release is not a release.
class heldkeys {
  public:
    // Returns the virtual-key code of the event and marks it held.
    int press(const QKeyEvent &event);
    // Returns the virtual-key code of the event (the one its press had, where the platform
    // tells which physical key it is) and marks it released.
    int release(const QKeyEvent &event);
    void press(int vk);
    void release(int vk);
    bool held(int vk) const { return vk > 0 && vk < 256 && down.test(size_t(vk)); }
    // Releases that go to another window are never seen: forget everything when the focus goes.
    void clear();

  private:
    std::bitset<256> down;
    std::unordered_map<quint32, int> byscancode;
};

} // namespace keys
