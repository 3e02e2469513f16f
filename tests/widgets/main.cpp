#include "speech/speechplatform.h"
#include "tests/unit/speech/fakeengines.h"

#include <QApplication>
#include <gtest/gtest.h>

// Some logic under test uses timers and posted events, so an application object exists.
int main(int argc, char **argv) {
    // Widgets under test never need a real display, also when tests are only being listed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // No speech platform unless a test brings its own: no voices, and a system voice that
    // reaches no daemon, so no test waits for real speech.
    static fakespeech::journal unheard;
    speechplatform::set({[] { return std::unique_ptr<tts4::enumerator>(); },
                         [](audio::pcmstream *) { return std::make_unique<fakespeech::voice>(unheard, 1); },
                         {}});
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
