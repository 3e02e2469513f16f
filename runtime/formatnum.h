#pragma once

#include <string>

// The general number format with 15 significant digits: fixed notation for 0.0001 <= |v| < 1e15
// and for zero, otherwise mantissa, "E" and exponent (1E20, 2E-5). decimalseparator is the one of
// the user's regional settings.
std::string formatnum(double value, char decimalseparator);
