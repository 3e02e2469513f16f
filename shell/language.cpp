#include "shell/language.h"

#include "shell/resourcelocalizer.h"

void language::readlanguage() { languagebase = ini.readint("environment", "language", 1000); }

void language::writelanguage() { ini.writeint("environment", "language", languagebase); }

std::string language::text(int offset) const {
    return TResourceLocalizer::getstring(languagebase, offset);
}
