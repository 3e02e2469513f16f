#pragma once

#include "runtime/devicememory.h"
#include "runtime/printing.h"
#include "runtime/randomsource.h"
#include "runtime/screen.h"
#include "runtime/zumcommands.h"

#include <string>

// The runtime library the compiled program runs on: screen and printing, memory and values,
// the key buffer. Input and sound commands join it as their subsystems are wired in.
class zumlibrary : public zumcommands {
  public:
    zumlibrary(screen &scr, printer &print, devicememory &memory);

    void printstr(const std::string &text, std::uint8_t mode) override;
    void printnum(std::uint8_t mode, double value) override;
    void inputnum(double &variable, std::uint8_t mode) override;
    void takekeys(std::string &result) override;
    void timestr(std::string &result) override;
    double rnd(double x) override;
    void seedfromclock() override;
    double peek(double address) override;
    void playnotes(const std::vector<double> &notes, double duration, double octave) override;
    void beep() override;
    void click(double number) override;

    // The per-run state: pending input, remembered octave and duration, cursor column.
    void resetrun();

    // The last key's code, character or chord translation, left by the main window's keys.
    std::string keybuffer;
    std::string inputbuffer;

  private:
    screen &scr;
    printer &print;
    devicememory &memory;
    randomsource random;
};
