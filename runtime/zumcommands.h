#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The runtime library as the compiled program sees it: one call per BASIC statement or function
// that needs the machine. The real library (zumlibrary) prints to the screen and speaks, shows the
// input dialog and plays sounds; a scripted one in the tests records the calls instead. Pure
// functions of their arguments (leftstring, rightstring, valstr, numtostr) live in values.h.
class zumcommands {
  public:
    virtual ~zumcommands() = default;

    // PRINT items. mode: 0 new line, 1 stay, 2 next 8-column zone.
    virtual void printstr(const std::string &text, std::uint8_t mode) = 0;
    virtual void printnum(std::uint8_t mode, double value) = 0;

    // INPUT of one numeric variable; mode 0 drops any pending rest and shows no prompt.
    virtual void inputnum(double &variable, std::uint8_t mode) = 0;
    // Everything typed since the last take; the key buffer is emptied.
    virtual void takekeys(std::string &result) = 0;

    // Time of day as "HH MM SS " (9 characters).
    virtual void timestr(std::string &result) = 0;
    virtual double rnd(double x) = 0;
    // Seeds the generator of rnd from the clock; the program does it once at its start.
    virtual void seedfromclock() = 0;
    virtual double peek(double address) = 0;

    // Tones (one note per voice), in milliseconds and an octave digit; beep; click number.
    virtual void playnotes(const std::vector<double> &notes, double duration, double octave) = 0;
    virtual void beep() = 0;
    virtual void click(double number) = 0;
};
