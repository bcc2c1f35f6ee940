// SPDX-License-Identifier: GPL-3.0-or-later
// Test runner: painting and loading pictures needs a QGuiApplication.

#include <gtest/gtest.h>

#include <QGuiApplication>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
