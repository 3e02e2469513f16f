#include <QApplication>
#include <gtest/gtest.h>

// Some logic under test uses timers and posted events, so an application object exists.
int main(int argc, char **argv) {
    // Widgets under test never need a real display, also when tests are only being listed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
