#include "speech/speechplatform.h"

#include "platform/audio/pcmstream.h"

namespace speechplatform {

namespace {
factories &current() {
    static factories f;
    return f;
}
} // namespace

void set(factories f) {
    current() = std::move(f);
}
factories get() {
    return current();
}

std::unique_ptr<tts4::enumerator> createenumerator() {
    return current().enumerator ? current().enumerator() : tts4::createenumerator();
}

std::unique_ptr<tts5::automationvoice> createvoice(audio::pcmstream *fallback) {
    return current().voice ? current().voice(fallback) : tts5::createvoice(fallback);
}

std::unique_ptr<audio::pcmstream> createaudio(audio::sounddevice &device) {
    return current().audio ? current().audio(device)
                           : std::make_unique<audio::devicepcmstream>(device);
}

} // namespace speechplatform
