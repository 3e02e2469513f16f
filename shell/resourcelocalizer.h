#pragma once

#include <string>
#include <utility>
#include <vector>

// The message catalog: every text the application itself shows or speaks, in Czech (base 1000),
// English (2000) and Slovak (3000), offsets 0 to 46. Texts come out in Windows-1250.
class TResourceLocalizer {
  public:
    TResourceLocalizer() = delete;

    // The text with id base + offset, or the empty text when there is none.
    static std::string getstring(int base, int offset);
    // One item per language, probing 1000, 2000, ... until a base has no name at offset 0:
    // the language's own name and its base.
    static void getlanguages(std::vector<std::pair<std::string, int>> &list);
};
