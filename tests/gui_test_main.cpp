// One QApplication for all GUI tests: fonts, painters and windows need it, and
// Qt allows only one per process. The tests never need a display, so without a chosen platform
// they run offscreen (the build lists the tests with no display at all).

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
