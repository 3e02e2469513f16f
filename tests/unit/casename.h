#pragma once

#include <cctype>
#include <string>

// gtest names take letters, digits and underscores; a case's description, so spelled, names it.
inline std::string casename(const char *what) {
    std::string name;
    for (const char *c = what; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
}
