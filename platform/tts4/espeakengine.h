#pragma once

#include "platform/tts4/tts4.h"

// What the espeak-ng engine offers beyond the platform shape; for measurements and tests.
namespace tts4 {

class espeakengine : public central {
  public:
    // The leading silence of each utterance is cut before it reaches the audio (default on).
    virtual void settrimsilence(bool on) = 0;
};

// The synthesiser's output rate, samples per second (0 before the first enumerator).
int samplerate();

} // namespace tts4
