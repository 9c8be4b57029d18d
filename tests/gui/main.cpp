// One application object for every widget test, without a display unless
// the environment names a platform.
#include <gtest/gtest.h>

#include <QApplication>

#include "app_object.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tolvu::runtime::initialise(app);
    // A test closing the main window must not end the application that the
    // next test runs in; the test of closing turns this on for itself.
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
