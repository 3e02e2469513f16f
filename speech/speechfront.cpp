#include "speech/speechfront.h"

#include "platform/codepage/cp1250.h"
#include "platform/loop/loop.h"
#include "platform/tts5/tts5.h"

void checkspeech(tts4::hresult r) {
    if (tts4::failed(r))
        throw speecherror(tts4::errortext(r));
}

void speechfront::textdata(const std::string &text) {
    checkspeech(engine4->TextData(0, 0, text.c_str(), text.size() + 1));
}

void speechfront::speak5(const std::string &text, std::uint32_t flagword) {
    checkspeech(voice5->Speak(codepage::fromcp1250(text), flagword));
}

void speechfront::say(const std::string &text) {
    if (flags.usesapi5) {
        if (text.empty() || !voice5)
            return;
        flags.sapi5speaking = true;
        try {
            speak5(text, tts5::svsflagsasync);
        } catch (...) {
            flags.sapi5speaking = false; // no end of stream will come for a refused text
            throw;
        }
        loop::waitwhile(flags.sapi5speaking);
        return;
    }
    if (flags.voiceallowed && !text.empty() && engine4) {
        textdata(text);
        // The start arrives before TextData returns; the stop ends every wait pending on it.
        loop::waitwhile(flags.sapi4speaking);
    }
}

void speechfront::sayasync(const std::string &text) {
    if (flags.usesapi5) {
        if (voice5)
            speak5(text, tts5::svsflagsasync);
        return;
    }
    if (flags.voiceallowed && !text.empty() && engine4)
        textdata(text);
}

void speechfront::stopspeech() {
    if (flags.usesapi5) {
        if (voice5)
            speak5(std::string(), tts5::svsfpurgebeforespeak);
    } else if (flags.engineready && flags.sapi4speaking && engine4) {
        checkspeech(engine4->AudioReset());
    }
}
