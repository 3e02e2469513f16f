#include <QCoreApplication>
#include <gtest/gtest.h>

// The engines post their notifications to the UI thread, so an event loop must exist.
int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
