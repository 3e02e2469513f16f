#pragma once

#include <string>

// The value functions of the BASIC program that depend on nothing but their arguments.

// The first trunc(count) characters; empty for a count of 0 or less; the whole text when the
// count reaches its length.
std::string leftstring(const std::string &text, double count);
// The last trunc(count) characters, with the same rules.
std::string rightstring(const std::string &text, double count);

// VAL. A text holding "%" is a whole number in which "%" stands for "$", the hexadecimal prefix
// ("%FF" is 255); when that does not convert, a run error is raised. Any other text is read with
// "." as the decimal point whatever the regional settings: leading blanks, sign, digits, fraction,
// exponent; anything left over, or nothing, gives 0.
double valstr(const std::string &text);

// STR$: the shortest decimal text of the number; a whole number is its digits alone.
std::string numtostr(double value);
