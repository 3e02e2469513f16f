#include "braille/mainkeys.h"
#include "platform/keys/virtualkeys.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

#include <vector>

using namespace keys;

namespace {

// One step of the keyboard: a key going down (with its character) or up, with Shift and Alt.
struct step {
    enum { down, up } what;
    int vk;
    char character = 0;
    bool shift = false;
    bool alt = false;
};

void run(mainkeys &k, const std::vector<step> &steps) {
    for (const step &s : steps) {
        if (s.what == step::down) {
            k.held.press(s.vk);
            k.keydown(s.vk, s.shift, s.alt);
            if (s.character)
                k.keypress(s.character);
        } else {
            k.held.release(s.vk);
            k.keyup(s.vk);
        }
    }
}

step down(int vk, char c = 0, bool shift = false) {
    return {step::down, vk, c, shift};
}
step up(int vk) {
    return {step::up, vk};
}

std::string code(int c) {
    return std::string(1, char(c));
}

} // namespace

TEST(mainkeys, keybufferafterthesteps) {
    const struct {
        const char *name;
        std::string before;
        std::vector<step> steps;
        std::string keybuffer;
    } cases[] = {
        {"a at its key-up", "", {down('A', 'a'), up('A')}, "a"},
        {"a not yet at its key-down", "x", {down('A', 'a')}, "x"},
        {"capital", "", {down(vkshift), down('A', 'A', true), up('A'), up(vkshift)}, "A"},
        {"capital with Shift let go first",
         "",
         {down(vkshift), down('A', 'A', true), up(vkshift), up('A')},
         "A"},
        {"second key down before the first is up",
         "",
         {down('A', 'a'), down('B', 'b'), up('A')},
         "b"},
        {"... and the second key-up empties",
         "",
         {down('A', 'a'), down('B', 'b'), up('A'), up('B')},
         ""},
        {"space", "", {down(vkspace, ' '), up(vkspace)}, " "},
        {"Left held", "", {down(vkleft)}, code(132)},
        {"Left let go", "", {down(vkleft), up(vkleft)}, ""},
        {"Up alone", "", {down(vkup)}, code(129)},
        {"Down alone", "", {down(vkdown)}, code(130)},
        {"Right held then Up", "", {down(vkright), down(vkup)}, code(137)},
        {"... with Shift", "", {down(vkright), down(vkup, 0, true)}, code(153)},
        {"... with Shift and space",
         "",
         {down(vkspace), down(vkright), down(vkup, 0, true)},
         code(185)},
        {"all four arrows", "", {down(vkup), down(vkdown), down(vkleft), down(vkright)}, code(143)},
        {"Backspace", "", {down(vkback, '\b'), up(vkback)}, code(8)},
        {"Shift Backspace", "", {down(vkback, '\b', true), up(vkback)}, code(25)},
        {"F6", "", {down(vkf6), up(vkf6)}, ""},
        {"F6 held", "", {down(vkf6)}, code(8)},
        {"Shift F6 held", "", {down(vkf6, 0, true)}, code(25)},
        {"Enter", "", {down(vkreturn, '\r'), up(vkreturn)}, code(13)},
        {"F8 held", "", {down(vkf8)}, code(13)},
        {"Escape", "", {down(vkescape, '\x1b'), up(vkescape)}, code(27)},
        {"F7 held", "", {down(vkf7)}, code(7)},
        {"F7 let go", "", {down(vkf7), up(vkf7)}, ""},
        {"Ctrl empties", "x", {down(vkcontrol)}, ""},
        {"Shift empties", "x", {down(vkshift)}, ""},
        {"Alt empties", "x", {down(vkmenu)}, ""},
        {"other keys leave it at key-down", "x", {down(vkf1)}, "x"},
        {"F4 without Alt", "x", {down(vkf4)}, "x"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::string keybuffer = c.before;
        mainkeys k(keybuffer);
        run(k, c.steps);
        EXPECT_EQ(keybuffer, c.keybuffer);
    }
}

TEST(mainkeys, everykeydownstopsspeechandendsatonewait) {
    std::string keybuffer;
    mainkeys k(keybuffer);
    std::vector<std::string> calls;
    k.h.stopspeech = [&] { calls.push_back("stop"); };
    k.h.endtonewait = [&] { calls.push_back("endtone"); };
    run(k, {down('A', 'a'), up('A'), down(vkleft)});
    EXPECT_EQ(calls, (std::vector<std::string>{"stop", "endtone", "stop", "endtone"}));
}

TEST(mainkeys, altf4exitsandnothingelsedoes) {
    std::string keybuffer = "x";
    mainkeys k(keybuffer);
    int exits = 0;
    k.h.exitprogram = [&] { ++exits; };
    run(k, {down(vkf4), up(vkf4), {step::down, vkmenu, 0, false, true}});
    EXPECT_EQ(exits, 0);
    run(k, {{step::down, vkf4, 0, false, true}});
    EXPECT_EQ(exits, 1);
}

TEST(mainkeys, upordownaloneopensthereviewonceastarted) {
    const struct {
        const char *name;
        bool started;
        std::vector<step> steps;
        int reviews;
        std::string keybuffer;
    } cases[] = {
        {"before the first run", false, {down(vkup)}, 0, code(129)},
        {"Up", true, {down(vkup)}, 1, ""},
        {"Down", true, {down(vkdown)}, 1, ""},
        {"Shift Up", true, {down(vkup, 0, true)}, 0, code(145)},
        {"space Up", true, {down(vkspace), down(vkup)}, 0, code(161)},
        {"Left", true, {down(vkleft)}, 0, code(132)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::string keybuffer;
        mainkeys k(keybuffer);
        int reviews = 0;
        k.h.runstarted = [&] { return c.started; };
        k.h.showreview = [&] {
            ++reviews;
            keybuffer.clear();
        };
        run(k, c.steps);
        EXPECT_EQ(reviews, c.reviews);
        EXPECT_EQ(keybuffer, c.keybuffer);
    }
}

TEST(virtualkey, fromqtkeys) {
    const struct {
        int qtkey;
        Qt::KeyboardModifiers modifiers;
        int vk;
    } cases[] = {
        {Qt::Key_A, {}, 65},
        {Qt::Key_Z, Qt::ShiftModifier, 90},
        {Qt::Key_0, {}, 48},
        {Qt::Key_Exclam, Qt::ShiftModifier, 49},
        {Qt::Key_ParenRight, Qt::ShiftModifier, 48},
        {Qt::Key_Left, {}, 37},
        {Qt::Key_Down, {}, 40},
        {Qt::Key_F1, {}, 112},
        {Qt::Key_F12, {}, 123},
        {Qt::Key_Backspace, {}, 8},
        {Qt::Key_Return, {}, 13},
        {Qt::Key_Enter, Qt::KeypadModifier, 13},
        {Qt::Key_Escape, {}, 27},
        {Qt::Key_Shift, Qt::ShiftModifier, 16},
        {Qt::Key_Control, {}, 17},
        {Qt::Key_Alt, {}, 18},
        {Qt::Key_Space, {}, 32},
        {Qt::Key_Delete, {}, 46},
        {Qt::Key_Home, {}, 36},
        {Qt::Key_End, {}, 35},
        {Qt::Key_Tab, {}, 9},
        {Qt::Key_Backtab, Qt::ShiftModifier, 9},
        {Qt::Key_1, Qt::KeypadModifier, 97},
        {Qt::Key_Comma, {}, 188},
        {Qt::Key_Question, Qt::ShiftModifier, 191},
        {Qt::Key_Eacute, {}, 223},
        {Qt::Key_unknown, {}, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.qtkey);
        EXPECT_EQ(virtualkey(c.qtkey, c.modifiers), c.vk);
    }
}

TEST(heldkeys, releasefollowsthepressbyscancodeandignoresrepeats) {
    heldkeys held;
    // Shift+1 pressed, Shift let go, then the key: the release reports "1", not "!".
    const QKeyEvent press(QEvent::KeyPress, Qt::Key_Exclam, Qt::ShiftModifier, 10, 0x21, 1, "!");
    const QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_1, Qt::NoModifier, 10, 0x31, 0, "1", true);
    const QKeyEvent release(QEvent::KeyRelease, Qt::Key_1, Qt::NoModifier, 10, 0x31, 0, "1");
    EXPECT_EQ(held.press(press), 49);
    EXPECT_TRUE(held.held(49));
    EXPECT_EQ(held.release(repeat), 49);
    EXPECT_TRUE(held.held(49));
    EXPECT_EQ(held.release(release), 49);
    EXPECT_FALSE(held.held(49));
    held.press(37);
    held.clear();
    EXPECT_FALSE(held.held(37));
}
