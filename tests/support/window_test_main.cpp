// SPDX-License-Identifier: GPL-3.0-or-later
// The main of the widget tests: one QApplication for the whole test program, offscreen, with
// the look of the program.

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
