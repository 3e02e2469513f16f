#include "runtime/values.h"

#include "runtime/runerror.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

size_t countof(const std::string &text, double count) {
    if (!(count >= 1)) // also false for NaN
        return 0;
    if (count >= double(text.size()))
        return text.size();
    return size_t(count); // truncates toward zero
}

bool isdigit(char c) { return c >= '0' && c <= '9'; }

int hexdigit(char c) {
    if (isdigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The integer conversion of the old runtime: blanks, sign, then decimal digits or "$" and
// hexadecimal digits; the value must fit 32 bits and nothing may follow.
double strtoint(const std::string &text) {
    const std::string message = "'" + text + "' is not a valid integer value";
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    }
    if (i == text.size())
        throw runerror(message);
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        int d = base == 16 ? hexdigit(text[i]) : (isdigit(text[i]) ? text[i] - '0' : -1);
        if (d < 0)
            throw runerror(message);
        value = value * base + d;
        if (value > std::int64_t(std::numeric_limits<std::uint32_t>::max()))
            throw runerror(message);
    }
    if (base == 16 && value > std::numeric_limits<std::int32_t>::max())
        value = std::int32_t(std::uint32_t(value)); // "$FFFFFFFF" is -1, as a 32-bit pattern
    else if (value > std::int64_t(std::numeric_limits<std::int32_t>::max()) + (negative ? 1 : 0))
        throw runerror(message);
    return double(negative ? -value : value);
}

} // namespace

std::string leftstring(const std::string &text, double count) {
    return text.substr(0, countof(text, count));
}

std::string rightstring(const std::string &text, double count) {
    return text.substr(text.size() - countof(text, count));
}

double valstr(const std::string &text) {
    if (text.find('%') != std::string::npos) {
        std::string hex = text;
        std::replace(hex.begin(), hex.end(), '%', '$');
        return strtoint(hex);
    }
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < text.size() && isdigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isdigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j == text.size() || !isdigit(text[j]))
            return 0;
        while (j < text.size() && isdigit(text[j]))
            ++j;
        i = j;
    }
    if (i != text.size())
        return 0;
    std::string number = text.substr(start);
    if (number.front() == '+')
        number.erase(0, 1);
    double value = 0;
    auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec != std::errc() || !std::isfinite(value))
        return 0;
    return value;
}

std::string numtostr(double value) {
    char buffer[64];
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e18) {
        auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::int64_t(value));
        return std::string(buffer, end);
    }
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, end);
}
