// SPDX-License-Identifier: GPL-3.0-or-later
// The painters against what the window needs from them: text stays readable where the window
// writes, the states of a control are told apart at a glance, and the pictures fit together.

#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <cmath>

#include "artwork.h"
#include "desk_layout.h"

namespace {

using namespace lumiere::artwork;

struct Luma {
    double mean = 0;
    int max = 0;
};

Luma luma(const QImage& image, const QRect& area) {
    Luma l;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const int g = qGray(image.pixel(x, y));
            l.mean += g;
            l.max = std::max(l.max, g);
        }
    }
    l.mean /= area.width() * area.height();
    return l;
}

// Pixels of a strong colour: the channel `hot` well above the other two.
int countHue(const QImage& image, int hot) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            const int ch[3] = {qRed(c), qGreen(c), qBlue(c)};
            if (ch[hot] > 180 && ch[hot] - ch[(hot + 2) % 3] > 100) ++count;
        }
    }
    return count;
}

// Dark and free of printing: yellow or red text drawn there by the window reads well.
void expectPlainDark(const QImage& image, const QRect& area) {
    const Luma l = luma(image, area);
    EXPECT_LT(l.mean, 55) << "at " << area.x() << "," << area.y();
    EXPECT_LT(l.max, 80) << "at " << area.x() << "," << area.y();
}

}  // namespace

TEST(Painters, PaintTheSamePixelsOnEveryCall) {
    EXPECT_EQ(desk(), desk());
    EXPECT_EQ(buttonFace(true), buttonFace(true));
    EXPECT_EQ(knobCap(true), knobCap(true));
    EXPECT_EQ(controlPanel(), controlPanel());
}

TEST(Painters, LightSurfacesCarryBlackAndDarkText) {
    const QImage raised = buttonFace(false);
    const QImage pressed = buttonFace(true);
    const QRect inside(4, 4, 103, 15);
    EXPECT_GT(luma(raised, inside).mean, 170);
    EXPECT_GT(luma(pressed, inside).mean, 150);
    EXPECT_LT(luma(pressed, inside).mean, luma(raised, inside).mean);
    const QImage panel = controlPanel();
    EXPECT_GT(luma(panel, panel.rect().adjusted(4, 4, -4, -4)).mean, 170);
}

TEST(Painters, DeskLeavesThePlacesOfWindowTextPlainAndDark) {
    const DeskLayout& places = layout().desk;
    const QImage image = desk();
    expectPlainDark(image, places.masterLabel);
    expectPlainDark(image, places.toggleLabel);
    for (const QRect& figure : places.figures) expectPlainDark(image, figure);
    const QImage top = banner();
    expectPlainDark(top, QRect(625, 0, 45, top.height()));
}

TEST(Painters, SelectedKnobAndLitSwitchStandOut) {
    constexpr int kRed = 0;
    constexpr int kGreen = 1;
    EXPECT_EQ(countHue(knobCap(false), kRed), 0);
    EXPECT_GT(countHue(knobCap(true), kRed), 40);
    EXPECT_EQ(countHue(toggleSwitch(false), kGreen), 0);
    EXPECT_GT(countHue(toggleSwitch(true), kGreen), 4);
}

TEST(Painters, TitleBlendsIntoTheBanner) {
    const QImage strip = banner();
    const QImage name = title();
    ASSERT_LE(name.height(), strip.height());
    // Edge columns of the title against the banner, row for row, wherever it is centred.
    for (int y = 0; y < name.height(); ++y) {
        for (int x : {0, name.width() - 1}) {
            const QRgb a = name.pixel(x, y);
            const QRgb b = strip.pixel(strip.width() / 2, y);
            EXPECT_LE(std::abs(qGray(a) - qGray(b)), 3) << "row " << y;
        }
    }
    // The title itself is bright gold.
    EXPECT_GT(countHue(name, 0), 30);
}
