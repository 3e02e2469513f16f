#pragma once

#include "runtime/printing.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// What INPUT needs of the input dialog.
class inputdialogport {
  public:
    virtual ~inputdialogport() = default;
    // Empties the edit field, gives it the focus and shows the dialog modally. Returns the
    // confirmed line (Windows-1250), or nothing when the dialog was closed without OK.
    virtual std::optional<std::string> readline() = 0;
};

// A number as the user's regional settings write it: blanks around, an optional sign, digits
// with at most one decimal separator, an optional exponent (E or e, optional sign, digits).
// Anything else, and any value too large for a double, is no number.
std::optional<double> texttonumber(std::string_view text, char decimalseparator);

// INPUT of numbers: one typed line may carry several numbers separated by commas, of which
// each INPUT variable takes the next; a line that does not convert is typed again.
class numericinput {
  public:
    explicit numericinput(printer &print) : print(print) {}

    // mode 0: new statement, no prompt; 1: next variable of the statement, the prompt only when
    // nothing is pending; 2: new statement with the prompt. Throws runerror while no dialog or
    // catalog is attached.
    void inputnum(double &variable, std::uint8_t mode);

    inputdialogport *dialog = nullptr;
    std::function<std::string(int offset)> catalogtext;
    // What no variable has taken yet of the last accepted line.
    std::string inputbuffer;

  private:
    printer &print;
};
