#include <gtest/gtest.h>
#include <QApplication>

#include "platform/Platform.h"

// GUI tests run without a display unless their folder asks for X11.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    modshelf::platform::installSystemServices();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
