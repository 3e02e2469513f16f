#include "runtime/formatnum.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

std::string formatnum(double value, char decimalseparator) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";

    // Round to 15 significant digits once; the digits and the exponent after rounding decide
    // the notation (999999999999999.9 becomes 1E15).
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    std::string digits;
    const char *p = buffer;
    for (; *p && *p != 'e'; ++p)
        if (*p != '.')
            digits += *p;
    const int exponent = std::atoi(p + 1);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = value < 0 ? "-" : "";
    if (exponent >= -4 && exponent < 15) {
        if (exponent < 0) {
            out += "0";
            out += decimalseparator;
            out += std::string(size_t(-exponent - 1), '0') + digits;
        } else if (size_t(exponent) + 1 >= digits.size()) {
            out += digits + std::string(size_t(exponent) + 1 - digits.size(), '0');
        } else {
            out += digits.substr(0, size_t(exponent) + 1);
            out += decimalseparator;
            out += digits.substr(size_t(exponent) + 1);
        }
    } else {
        out += digits.substr(0, 1);
        if (digits.size() > 1) {
            out += decimalseparator;
            out += digits.substr(1);
        }
        out += "E" + std::to_string(exponent);
    }
    return out;
}
