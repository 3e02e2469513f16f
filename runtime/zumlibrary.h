#pragma once

#include "runtime/devicememory.h"
#include "runtime/numericinput.h"
#include "runtime/printing.h"
#include "runtime/randomsource.h"
#include "runtime/screen.h"
#include "runtime/sounds.h"
#include "runtime/zumcommands.h"

#include <string>

// The runtime library the compiled program runs on: screen and printing, memory and values,
// numeric input and the key buffer, tones, beep and clicks.
class zumlibrary : public zumcommands {
  public:
    zumlibrary(screen &scr, printer &print, devicememory &memory, soundcommands &sounds);

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
    // INPUT with its pending rest; the start-up attaches the input dialog.
    numericinput input;

  private:
    screen &scr;
    printer &print;
    devicememory &memory;
    soundcommands &sounds;
    randomsource random;
};
