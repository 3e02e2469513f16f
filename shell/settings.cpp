#include "shell/settings.h"

#include <algorithm>

settings::settings(profile::inifile &ini, settingvalues values) : ini(ini), values(values) {}

bool settings::readsettings(const std::function<bool()> &enumeratorcreated) {
    if (!ini.exists()) {
        values.voiceallowed = enumeratorcreated();
        ini.writeint("voice", "voiceallowed", values.voiceallowed ? 1 : 0);
        return false;
    }
    values.voiceallowed = ini.readint("voice", "voiceallowed", 1) != 0;
    values.zumirasounds = ini.readint("sounds", "zumirasounds", 1) != 0;
    // A volume outside the scale would amplify past full; hold it within.
    values.sndvolume = std::clamp(ini.readint("sounds", "sndvolume", 0), -10000, 0);
    values.braillemode = ini.readint("keyboard", "braillekeys", 0) != 0;
    return ini.readint("Voice", "sapi5", 0) != 0;
}

void settings::writesettings() {
    ini.writeint("voice", "voiceallowed", values.voiceallowed ? 1 : 0);
    ini.writeint("sounds", "zumirasounds", values.zumirasounds ? 1 : 0);
    ini.writeint("sounds", "sndvolume", values.sndvolume);
    ini.writeint("keyboard", "braillekeys", values.braillemode ? 1 : 0);
}
