#pragma once

#include <cmath>
#include <cstddef>
#include <string>

// The few constructs of the BASIC dialect that the compiled program needs beyond plain C++
// statements: texts in the program's code page, INT, ON ... GOTO and FOR ... NEXT.

namespace basic {

// The upper half of Windows-1250, as Unicode code points; 0 marks a byte without a character.
inline constexpr char32_t cp1250upper[128] = {
    0x20AC, 0,      0x201A, 0,      0x201E, 0x2026, 0x2020, 0x2021, // 80
    0,      0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, // 88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0,      0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, // F8
};

// A UTF-8 literal converted to Windows-1250 bytes while compiling; a character outside the code
// page, or malformed UTF-8, stops the compilation.
template <std::size_t N> struct cp1250text {
    char bytes[N]{};
    std::size_t size = 0;

    consteval cp1250text(const char (&utf8)[N]) {
        for (std::size_t i = 0; i + 1 < N;) {
            const auto lead = static_cast<unsigned char>(utf8[i]);
            char32_t code = lead;
            std::size_t length = 1;
            if ((lead & 0xE0) == 0xC0) {
                code = lead & 0x1F;
                length = 2;
            } else if ((lead & 0xF0) == 0xE0) {
                code = lead & 0x0F;
                length = 3;
            } else if (lead >= 0x80) {
                throw "malformed UTF-8 or a character beyond Windows-1250";
            }
            for (std::size_t k = 1; k < length; ++k) {
                if (i + k + 1 >= N || (static_cast<unsigned char>(utf8[i + k]) & 0xC0) != 0x80)
                    throw "malformed UTF-8";
                code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
            }
            bytes[size++] = tobyte(code);
            i += length;
        }
    }

    static consteval char tobyte(char32_t code) {
        if (code < 0x80)
            return static_cast<char>(code);
        for (std::size_t b = 0; b < 128; ++b)
            if (cp1250upper[b] == code)
                return static_cast<char>(0x80 + b);
        throw "character without a Windows-1250 byte";
    }
};

// "Dobrý deň;"_cp is the text as the program prints it: Windows-1250 bytes.
template <cp1250text text> std::string operator""_cp() {
    return std::string(text.bytes, text.size);
}

// INT(x): truncation toward zero, the result still a double.
inline double basicint(double x) {
    return std::trunc(x);
}

// The target index of ON x GOTO l1, ..., lcount: 1 to count, or 0 when x truncates to anything
// else and the statement after the computed jump runs instead.
inline int onindex(double x, int count) {
    const double i = std::trunc(x);
    return i >= 1 && i <= count ? static_cast<int>(i) : 0;
}

// FOR v = from TO to STEP step ... NEXT: the test comes after the body, so the body runs at least
// once and v ends one step past the limit.
template <typename body_t>
void fornext(double &v, double from, double to, double step, body_t body) {
    v = from;
    do {
        body();
        v = v + step;
    } while (step >= 0 ? v <= to : v >= to);
}

} // namespace basic
