#include "runtime/zumlibrary.h"

#include "platform/loop/loop.h"
#include "runtime/clocktext.h"
#include "runtime/runerror.h"

zumlibrary::zumlibrary(screen &scr, printer &print, devicememory &memory)
    : scr(scr), print(print), memory(memory) {}

void zumlibrary::printstr(const std::string &text, std::uint8_t mode) { print.printstr(text, mode); }

void zumlibrary::printnum(std::uint8_t mode, double value) { print.printnum(mode, value); }

void zumlibrary::inputnum(double &, std::uint8_t) {
    throw runerror("INPUT is not available in this build");
}

void zumlibrary::takekeys(std::string &result) {
    loop::processonce();
    result = keybuffer;
    keybuffer.clear();
}

void zumlibrary::timestr(std::string &result) { result = ::timestr(); }

double zumlibrary::rnd(double x) { return random.rnd(x); }

void zumlibrary::seedfromclock() { random.seedfromclock(); }

double zumlibrary::peek(double address) { return memory.peek(address); }

void zumlibrary::playnotes(const std::vector<double> &, double, double) {
    throw runerror("Sound is not available in this build");
}

void zumlibrary::beep() { throw runerror("Sound is not available in this build"); }

void zumlibrary::click(double) { throw runerror("Sound is not available in this build"); }

void zumlibrary::resetrun() {
    inputbuffer.clear();
    scr.scrcursor.setcolumn(0);
}
