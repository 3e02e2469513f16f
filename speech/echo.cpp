#include "platform/loop/loop.h"
#include "platform/tts5/tts5.h"
#include "speech/capitals.h"
#include "speech/speechfront.h"

#include <algorithm>

void speechfront::echokey(const std::string &keytext) {
    if (!flags.engineready)
        return;
    if (keytext.empty() || (keytext.size() == 1 && keytext[0] == '\0'))
        return;
    // The tone comes first and ends before the name is spoken.
    if (keytext.size() == 1 && iscapital(keytext[0], 2) && tone)
        tone(2000, 20, 1);
    // The earliest entry wins; a key the table does not hold is announced by nothing.
    const auto entry = std::find_if(echokeys.begin(), echokeys.end(),
                                    [c = keytext[0]](const echokeytype &e) { return e.code == c; });
    if (entry == echokeys.end() || entry->text.empty())
        return;
    const std::string name = entry->text;
    if (flags.usesapi5) {
        if (voice5)
            speak5(name, tts5::svsflagsasync | tts5::svsfisxml);
        return;
    }
    if (!engine4)
        return;
    textdata(name);
    loop::waitwhile(flags.sapi4speaking);
}
