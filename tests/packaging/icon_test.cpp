// SPDX-License-Identifier: GPL-3.0-or-later
// The application icon at the sizes the package installs: a plate on a transparent surround,
// the lit lamp in the middle, the same pixels on every call.

#include <gtest/gtest.h>
#include <QGuiApplication>

#include "icon.h"

namespace lumiere::artwork {
namespace {

TEST(AppIcon, APlateOnATransparentSurroundWithAWarmLampInTheMiddle) {
    for (const int size : {48, 128, 256}) {
        const QImage icon = appIcon(size);
        ASSERT_EQ(icon.size(), QSize(size, size));
        ASSERT_TRUE(icon.hasAlphaChannel());
        for (const QPoint corner : {QPoint(0, 0), QPoint(size - 1, 0), QPoint(0, size - 1)}) {
            EXPECT_EQ(qAlpha(icon.pixel(corner)), 0) << size;
        }
        // The plate is opaque; the lamp at (128, 112) of 256 is lit amber.
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size * 3 / 16)), 255) << size;
        const QRgb lamp = icon.pixel(size / 2, size * 112 / 256);
        EXPECT_EQ(qAlpha(lamp), 255) << size;
        EXPECT_GT(qRed(lamp), 200) << size;
        EXPECT_LT(qBlue(lamp), qRed(lamp) / 2) << size;
    }
}

TEST(AppIcon, PaintsTheSamePixelsOnEveryCall) {
    EXPECT_EQ(appIcon(128), appIcon(128));
}

}  // namespace
}  // namespace lumiere::artwork

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
