#pragma once

#include "platform/profile/inifile.h"

#include <functional>

// The user's choices that other subsystems own and the settings file keeps.
struct settingvalues {
    bool &voiceallowed;
    bool &zumirasounds;
    int &sndvolume; // hundredths of a decibel, -10000 (silent) to 0 (full)
    bool &braillemode;
};

// Reads and writes the user's settings in the ini file beside the executable.
class settings {
  public:
    settings(profile::inifile &ini, settingvalues values);

    // Reads the stored values and returns the tick of "Use SAPI5 voice". On the first start (no
    // file) voiceallowed becomes whether a voice enumerator could be created, and that is written,
    // which creates the file. Throws profile::profileerror when that first write fails.
    bool readsettings(const std::function<bool()> &enumeratorcreated);
    // Writes voiceallowed, zumirasounds, sndvolume, braillekeys, in that order.
    void writesettings();

  private:
    profile::inifile &ini;
    settingvalues values;
};
