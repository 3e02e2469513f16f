#pragma once

#include <ctime>
#include <string>

// The time of day as "HH MM SS " (two-digit hours, minutes, seconds, each followed by a blank).
std::string timestr(std::time_t now);
std::string timestr();
