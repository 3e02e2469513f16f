#include "runtime/numericinput.h"

#include "runtime/runerror.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace {

constexpr int enterdata = 23;
constexpr int pleaseretype = 44;

bool isblank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}
bool isdigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isblank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isblank(text.back()))
        text.remove_suffix(1);
    return text;
}

void trim(std::string &text) {
    text = std::string(trimmed(text));
}

} // namespace

std::optional<double> texttonumber(std::string_view text, char decimalseparator) {
    text = trimmed(text);
    size_t i = 0;
    const auto at = [&](size_t k) { return k < text.size() ? text[k] : '\0'; };

    std::string mantissa;
    if (at(i) == '+' || at(i) == '-') {
        if (at(i) == '-')
            mantissa += '-';
        ++i;
    }
    int digits = 0;
    int magnitude = 0; // decimal exponent of the leading nonzero digit, once one is seen
    bool nonzero = false, fraction = false;
    int fractiondigits = 0;
    for (;; ++i) {
        const char c = at(i);
        if (isdigit(c)) {
            ++digits;
            mantissa += c;
            if (fraction)
                ++fractiondigits;
            if (c != '0' && !nonzero) {
                nonzero = true;
                magnitude = fraction ? -fractiondigits : 0;
            } else if (nonzero && !fraction) {
                ++magnitude;
            }
        } else if (c == decimalseparator && !fraction && c != '\0') {
            fraction = true;
            mantissa += '.';
        } else {
            break;
        }
    }
    if (digits == 0)
        return std::nullopt;

    long long exponent = 0;
    if (at(i) == 'e' || at(i) == 'E') {
        ++i;
        bool negative = false;
        if (at(i) == '+' || at(i) == '-') {
            negative = at(i) == '-';
            ++i;
        }
        int exponentdigits = 0;
        for (; isdigit(at(i)); ++i, ++exponentdigits)
            if (exponent < 1'000'000'000)
                exponent = exponent * 10 + (at(i) - '0'); // beyond this every value is out of range
        if (exponentdigits == 0)
            return std::nullopt;
        if (negative)
            exponent = -exponent;
    }
    if (i != text.size())
        return std::nullopt;

    const std::string normal = mantissa + 'e' + std::to_string(exponent);
    double value = 0;
    const auto [end, error] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too small to hold is zero; too large is refused rather than becoming infinity.
        if (!nonzero || magnitude + exponent < 0)
            return 0.0;
        return std::nullopt;
    }
    if (error != std::errc() || end != normal.data() + normal.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

void numericinput::inputnum(double &variable, std::uint8_t mode) {
    if (!dialog || !catalogtext)
        throw runerror("INPUT is not available in this build");
    bool typed = false;
    if (mode == 0 || mode == 2)
        inputbuffer.clear();
    const std::string saved = inputbuffer;
    bool ok;
    do {
        ok = true;
        if (inputbuffer.empty()) {
            if (mode > 0)
                print.printstr(catalogtext(enterdata), 0);
            const std::optional<std::string> line = dialog->readline();
            if (line) {
                typed = true;
                inputbuffer = std::string(trimmed(*line));
                // A line of blanks is as empty as an empty one.
                if (inputbuffer.empty())
                    variable = 0;
                if (!inputbuffer.empty() && inputbuffer.front() == ',') {
                    variable = 0;
                    inputbuffer.erase(0, 1);
                    return;
                }
            }
        }
        if (!inputbuffer.empty()) {
            if (inputbuffer.front() == ',')
                inputbuffer.erase(0, 1);
            trim(inputbuffer);
            const size_t comma = inputbuffer.find(',');
            const std::string item = inputbuffer.substr(0, comma);
            if (comma == std::string::npos) {
                inputbuffer.clear();
            } else {
                inputbuffer.erase(0, comma + 1);
                trim(inputbuffer);
            }
            if (const std::optional<double> number = texttonumber(item, print.decimalseparator()))
                variable = *number;
            else
                ok = false;
        }
        if (!ok) {
            if (!typed) {
                variable = 0; // a pending rest that does not convert is dropped silently
                break;
            }
            inputbuffer = saved;
            print.printstr(catalogtext(pleaseretype), 0);
        }
    } while (!ok);
}
