#pragma once

#include "platform/profile/inifile.h"

#include <string>

// The interface language: the catalog base in force, read from and written to the settings file.
// Looked-up texts follow it at once; captions set at creation change only at the next start.
class language {
  public:
    explicit language(profile::inifile &ini) : ini(ini) {}

    int languagebase = 1000;

    void readlanguage();
    // Throws profile::profileerror when the settings file cannot be written.
    void writelanguage();
    // The catalog text at offset in the current language, Windows-1250.
    std::string text(int offset) const;

  private:
    profile::inifile &ini;
};
