// Test entry point: a QApplication exists for tests that open real widgets (on the
// offscreen platform), and plain tests do not mind it. Every test runs with the
// windows strict: a call on a missing or mismatched control number ends it.

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Tests never need a display, listing them included.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("ORV_STRICT_UI"))
        qputenv("ORV_STRICT_UI", "1");
    QApplication qt(argc, argv);
    return RUN_ALL_TESTS();
}
