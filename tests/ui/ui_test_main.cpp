// SPDX-License-Identifier: GPL-3.0-or-later
// One QApplication for the whole widget test program, offscreen.

#include <gtest/gtest.h>

#include <QApplication>
#include "ui/look.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    lumiere::ui::applyLook();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
