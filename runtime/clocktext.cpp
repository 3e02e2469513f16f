#include "runtime/clocktext.h"

#include <cstdio>

std::string timestr(std::time_t now) {
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::snprintf(text, sizeof text, "%02d %02d %02d ", local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

std::string timestr() { return timestr(std::time(nullptr)); }
