#pragma once

#include "platform/tts4/tts4.h"
#include "platform/tts5/tts5.h"

#include <functional>
#include <memory>

namespace audio {
class pcmstream;
class sounddevice;
} // namespace audio

// Where the speech engines come from. The application uses the real ones; tests put stand-ins
// in their place before they build it. An empty function means the real engine.
namespace speechplatform {

struct factories {
    std::function<std::unique_ptr<tts4::enumerator>()> enumerator;
    std::function<std::unique_ptr<tts5::automationvoice>(audio::pcmstream *fallback)> voice;
    std::function<std::unique_ptr<audio::pcmstream>(audio::sounddevice &)> audio;
};

void set(factories f);
factories get();

std::unique_ptr<tts4::enumerator> createenumerator();
std::unique_ptr<tts5::automationvoice> createvoice(audio::pcmstream *fallback);
std::unique_ptr<audio::pcmstream> createaudio(audio::sounddevice &device);

} // namespace speechplatform
