#pragma once

#include <array>
#include <string>

// The key-echo table: the spoken name of each key, in file order. Entries past the file's last
// line hold code 0 and an empty text.
struct echokeytype {
    char code = 0;    // Windows-1250
    std::string text; // Windows-1250
};

using echokeytable = std::array<echokeytype, 256>;
