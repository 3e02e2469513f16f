#include <QApplication>
#include <gtest/gtest.h>

// Some logic under test uses timers and posted events, so an application object exists.
int main(int argc, char **argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
