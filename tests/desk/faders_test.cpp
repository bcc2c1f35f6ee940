// SPDX-License-Identifier: GPL-3.0-or-later
// Fader tracking: the band and the clamp, the groups and their reference knobs, the chosen knob
// between the strict edges of its column, the level table, and the master speed.

#include <gtest/gtest.h>

#include "desk/faders.h"
#include "model/mouse.h"
#include "playback/show.h"
#include "support/fake_platform.h"
#include "support/fake_serial_port.h"

namespace lumiere {
namespace {

class FadersTest : public ::testing::Test {
protected:
    FadersTest() {
        for (Gauge& gauge : form.Gauge1) gauge.min = 0, gauge.max = 20, gauge.value = 7;
    }
    Twips top(int knob) const { return form.potar[knob].geo.top; }
    void move(Twips x, Twips y) { faders.Picture11_MouseMove(0, 0, x, y); }
    // A point over the bare desk, in no knob's column.
    static constexpr Twips kBareX = 100;

    Form1 form = makeForm1();
    AppValues values;
    test::FakeSerialPort port;
    LampLink link{port, PortDevices("/nonexistent")};
    test::FakePlatform platform;
    Show show{form, values, link, platform};
    Faders faders{form, values, show};
};

TEST_F(FadersTest, LevelTableOfTellingTops) {
    const std::pair<Twips, int> table[] = {{605, -2},  {669, -2},  {670, -1},  {779, -1},
                                           {780, 0},   {889, 0},   {890, 1},   {999, 1},
                                           {1920, 10}, {2980, 20}, {3075, 20}, {3089, 20},
                                           {3090, 21}, {3091, 20}, {3200, 20}, {3390, 18}};
    for (const auto& [t, level] : table) EXPECT_EQ(Faders::levelOf(t), level) << t;
}

TEST_F(FadersTest, RefreshWritesCountdownsCaptionsAndGaugesInsideTheirRange) {
    form.potar[0].geo.top = 1920;
    form.potar[1].geo.top = 3090;  // 21: outside the gauge range
    form.potar[2].geo.top = 605;   // -2
    faders.calcul_niveaux();
    EXPECT_EQ(values.compteur[0], "10");
    EXPECT_EQ(form.niveau[0].caption, "10");
    EXPECT_EQ(form.Gauge1[0].value, 10);
    EXPECT_EQ(form.niveau[1].caption, "21");
    EXPECT_EQ(form.Gauge1[1].value, 7);
    EXPECT_EQ(values.compteur[2], "-2");
    EXPECT_EQ(form.Gauge1[2].value, 7);
}

TEST_F(FadersTest, MovementsOutsideTheBandChangeNothing) {
    const Form1 before = form;
    values.actif = 0;
    move(1000, 919.9f);
    move(1000, 3590.1f);
    EXPECT_EQ(form.niveau[8].caption, before.niveau[8].caption);
    EXPECT_EQ(top(0), before.potar[0].geo.top);
    EXPECT_EQ(show.timer1().interval, 10);
    move(kBareX, 920);
    EXPECT_EQ(form.niveau[8].caption, "10");
    move(kBareX, 3590);
    EXPECT_EQ(show.timer1().interval, 150);
}

TEST_F(FadersTest, ChosenKnobFollowsBetweenTheStrictEdgesOfItsColumn) {
    values.actif = 3;  // knob 3: left 4140, width 495
    move(4140, 1000);
    move(4635, 1000);
    EXPECT_EQ(top(3), 1950);
    move(4141, 1000);
    EXPECT_EQ(top(3), 1000);  // pointer above: the top edge goes to the pointer
    move(4141, 3000);
    EXPECT_EQ(top(3), 3000 - 315);  // pointer below: the bottom edge goes to the pointer
}

TEST_F(FadersTest, PointerBelowTheClampActsAt3390) {
    values.actif = 0;
    move(1000, 3500);
    EXPECT_EQ(top(0), 3075);
    EXPECT_EQ(form.niveau[0].caption, "20");
}

TEST_F(FadersTest, EvenGroupFollowsWithKnobTwoAsReference) {
    form.Slider1.value = 1;
    values.actif = 8;
    form.potar[0].geo.top = 2460;
    form.potar[2].geo.top = 1860;
    form.potar[4].geo.top = 1860;
    form.potar[6].geo.top = 2070;
    move(kBareX, 2000);
    for (int i : {0, 2, 4, 6}) EXPECT_EQ(top(i), 1685) << i;
    for (int i : {1, 3, 5, 7, 8}) EXPECT_EQ(top(i), makeForm1().potar[i].geo.top) << i;
}

TEST_F(FadersTest, OddGroupUsesKnobOneAndBothGroupsMoveAtThree) {
    form.Slider1.value = 3;
    values.actif = 8;
    move(kBareX, 1000);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(top(i), 1000) << i;
    move(kBareX, 2000);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(top(i), 1685) << i;
    EXPECT_EQ(top(8), 1920);
}

TEST_F(FadersTest, MasterLevelSetsThePlayerIntervalAndNegativeLevelsPause) {
    values.actif = 8;  // knob 8: left 9210
    move(9300, 3405);  // clamped to 3390: the bottom edge goes there, top 3075, level 20
    EXPECT_EQ(show.timer1().interval, 300);
    move(9300, 920);  // the top edge goes to 920: level 1
    EXPECT_EQ(show.timer1().interval, 15);
    form.potar[8].geo.top = 700;  // placed above the band by a cycle: level -1
    move(kBareX, 2000);
    EXPECT_EQ(form.niveau[8].caption, "-1");
    EXPECT_EQ(show.timer1().interval, 0);
}

TEST_F(FadersTest, SelectorZeroStillRefreshesLevelsEverywhereInTheBand) {
    values.actif = 8;
    form.potar[8].geo.top = 3090;
    move(4200, 2000);  // over strip 3's column
    EXPECT_EQ(top(3), 1950);
    EXPECT_EQ(form.niveau[8].caption, "21");
    EXPECT_EQ(show.timer1().interval, 315);
}

TEST_F(FadersTest, RightClickCancelsTheGroupAndGivesThePointerToTheMaster) {
    form.Slider1.value = 3;
    faders.Picture11_MouseDown(mouse::kLeft, 0, 0, 0);
    faders.Picture11_MouseDown(mouse::kMiddle, 0, 0, 0);
    EXPECT_EQ(form.Slider1.value, 3);
    faders.Picture11_MouseDown(mouse::kRight, 0, 0, 0);
    EXPECT_EQ(form.Slider1.value, 0);
    EXPECT_EQ(values.actif, 8);
}

}  // namespace
}  // namespace lumiere
