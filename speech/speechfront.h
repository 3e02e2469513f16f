#pragma once

#include <string>

// The speech flags shared by printing, keys and the voice settings.
struct speechflags {
    bool voiceallowed = false;
    bool usesapi5 = false;
    bool engineready = false;
    bool sapi4speaking = false;
    bool sapi5speaking = false;
};

// The speech front that printing and the shell talk through. No engine is attached yet, so
// say returns at once without a sound; the engines plug in behind these calls.
class speechfront {
  public:
    speechflags flags;

    void say(const std::string &text) { (void)text; }
    void stopspeech() {}
};
