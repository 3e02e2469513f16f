#include "runtime/zumlibrary.h"

#include "platform/loop/loop.h"
#include "runtime/clocktext.h"
#include "runtime/runerror.h"

namespace {
constexpr int keypollmilliseconds = 10;
}

zumlibrary::zumlibrary(screen &scr, printer &print, devicememory &memory, soundcommands &sounds)
    : input(print), scr(scr), print(print), memory(memory), sounds(sounds) {}

void zumlibrary::printstr(const std::string &text, std::uint8_t mode) { print.printstr(text, mode); }

void zumlibrary::printnum(std::uint8_t mode, double value) { print.printnum(mode, value); }

void zumlibrary::inputnum(double &variable, std::uint8_t mode) {
    input.inputnum(variable, mode);
}

void zumlibrary::takekeys(std::string &result) {
    loop::processonce();
    // A program polls this in a loop; sleeping briefly in the event loop keeps that loop from
    // burning a core, and a key arriving meanwhile ends the sleep at once.
    if (keybuffer.empty())
        loop::waitatmost(keypollmilliseconds);
    result = keybuffer;
    keybuffer.clear();
}

void zumlibrary::timestr(std::string &result) { result = ::timestr(); }

double zumlibrary::rnd(double x) { return random.rnd(x); }

void zumlibrary::seedfromclock() { random.seedfromclock(); }

double zumlibrary::peek(double address) { return memory.peek(address); }

void zumlibrary::playnotes(const std::vector<double> &notes, double duration, double octave) {
    sounds.playnotes(notes, duration, octave);
}

void zumlibrary::beep() { sounds.beep(); }

void zumlibrary::click(double number) { sounds.click(number); }

void zumlibrary::resetrun() {
    input.inputbuffer.clear();
    sounds.resetrun();
    scr.scrcursor.setcolumn(0);
}
