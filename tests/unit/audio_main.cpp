#include <QCoreApplication>
#include <gtest/gtest.h>

// The sound commands wait in the event loop for their timer, so an application object exists.
int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
