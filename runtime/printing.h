#pragma once

#include "runtime/screen.h"

#include <cstdint>
#include <functional>
#include <string>

// PRINT: every item is first placed on the screen, then spoken. Speech returns when the engine
// has finished (or a key stopped it); the pauses before leading punctuation are plain sleeps.
class printer {
  public:
    using sayfunction = std::function<void(const std::string &)>;
    using sleepfunction = std::function<void(int milliseconds)>;

    printer(screen &scr, sayfunction say, sleepfunction sleep, char decimalseparator);

    void printstr(const std::string &text, std::uint8_t mode);
    void printnum(std::uint8_t mode, double value);
    char decimalseparator() const { return separator; }

  private:
    screen &scr;
    sayfunction say;
    sleepfunction sleep;
    char separator;
};
