// SPDX-License-Identifier: GPL-3.0-or-later
// The sequence player tick by tick: the exact bytes sent and the lamps painted for every effect,
// with `motif` and `rang` carried across effects.

#include <gtest/gtest.h>

#include "link/lamp_link.h"
#include "playback/player.h"
#include "support/fake_platform.h"
#include "support/fake_serial_port.h"

namespace lumiere {
namespace {

using test::FakePlatform;
using test::FakeSerialPort;

class PlayerTest : public ::testing::Test {
protected:
    PlayerTest() : link(port, PortDevices("/nonexistent")), player(form, values, link, platform) {
        link.setPortNumber(1);
        for (Label& lamp : form.lampe) lamp.backColor = colour::kLightGrey;
    }

    std::vector<int> play(int choix, int ticks) {
        values.choix = choix;
        port.clear();
        for (int i = 0; i < ticks; ++i) player.Timer1_Timer();
        return port.values();
    }

    // lampe(0) … lampe(7) as binary digits.
    std::string lamps() const {
        std::string bits;
        for (int i = 0; i < 8; ++i) bits += form.lampe[i].backColor == colour::kRed ? '1' : '0';
        return bits;
    }

    void loadSteps(std::initializer_list<const char*> steps) {
        int n = 1;
        for (const char* step : steps) values.etape[n++] = step;
    }

    Form1 form = makeForm1();
    AppValues values;
    FakeSerialPort port;
    FakePlatform platform;
    LampLink link;
    Player player;
};

TEST_F(PlayerTest, ChaserFromAFreshStartThenItsFifteenTickCycle) {
    EXPECT_EQ(play(6, 16),
              (std::vector<int>{2, 4, 8, 16, 32, 64, 128, 128, 128, 64, 32, 16, 8, 4, 2, 1}));
    EXPECT_EQ(play(6, 15),
              (std::vector<int>{2, 4, 8, 16, 32, 64, 128, 128, 64, 32, 16, 8, 4, 2, 1}));
    EXPECT_EQ(lamps(), "00000001");
}

TEST_F(PlayerTest, TablesWrapAndRepeatTheirEndEntries) {
    EXPECT_EQ(play(3, 6), (std::vector<int>{24, 36, 66, 129, 24, 36}));
    EXPECT_EQ(player.rang(), 2);
}

TEST_F(PlayerTest, OutsideInAndDoubleChaserSendTheirEndsTwiceAtTheWrap) {
    EXPECT_EQ(play(4, 8), (std::vector<int>{129, 66, 36, 24, 36, 66, 129, 129}));
    // The 13-entry table takes over at the rang the 7-entry one left (1).
    EXPECT_EQ(play(7, 15),
              (std::vector<int>{96, 48, 24, 12, 6, 3, 6, 12, 24, 48, 96, 192, 192, 96, 48}));
}

TEST_F(PlayerTest, ATableStartedFromARangBeyondItKeepsThePatternForOneTick) {
    loadSteps({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
    play(0, 9);  // rang is now 10
    EXPECT_EQ(play(3, 3), (std::vector<int>{9, 24, 36}));
}

TEST_F(PlayerTest, OneWayChaserContinuesWhereItStopped) {
    EXPECT_EQ(play(8, 9), (std::vector<int>{2, 4, 8, 16, 32, 64, 128, 1, 2}));
    play(8, 2);  // now at 8
    EXPECT_EQ(play(8, 3), (std::vector<int>{16, 32, 64}));
}

TEST_F(PlayerTest, StepListLoopsAtEndAndNeverSendsTheMarker) {
    loadSteps({"1", "2", "255", "END"});
    EXPECT_EQ(play(0, 7), (std::vector<int>{1, 2, 255, 1, 2, 255, 1}));
    play(0, 1);
    EXPECT_EQ(lamps(), "00000010");
    play(0, 1);
    EXPECT_EQ(lamps(), "11111111");
}

TEST_F(PlayerTest, OnlyExactEndMarksTheEnd) {
    loadSteps({"7", "end", "END ", "8", "END"});
    EXPECT_EQ(play(1, 5), (std::vector<int>{7, 0, 0, 8, 7}));
}

TEST_F(PlayerTest, StepValuesAreReadWithTheNumberRuleRoundedAndClamped) {
    loadSteps({"5", "12.5", "&H0F", " 1 2 ", "x", "300", "-4", "END"});
    EXPECT_EQ(play(2, 7), (std::vector<int>{5, 12, 15, 12, 0, 255, 0}));
    play(2, 1);
    EXPECT_EQ(lamps(), "00000101");  // 5: lampe(5) and lampe(7) lit
    play(2, 1);
    EXPECT_EQ(lamps(), "00001100");  // 12.5 is painted as 12 (0C)
}

TEST_F(PlayerTest, AFileAnimationStartsAtTheRangABuiltInEffectLeft) {
    loadSteps({"10", "20", "30", "40", "END"});
    play(3, 3);  // rang 3
    EXPECT_EQ(play(0, 3), (std::vector<int>{30, 40, 10}));
}

TEST_F(PlayerTest, AListWithoutEndRunsToElement255AndWrapsToOne) {
    for (int n = 1; n < 256; ++n) values.etape[n] = std::to_string(n % 200);
    play(0, 255);
    EXPECT_EQ(port.values().back(), 255 % 200);
    EXPECT_EQ(play(0, 2), (std::vector<int>{1, 2}));
}

TEST_F(PlayerTest, RandomUsesTheWholePartOfTimes255AndNeverSends255) {
    platform.randoms = {0.0, 0.5, 0.99999, 0.003};
    EXPECT_EQ(play(5, 4), (std::vector<int>{0, 127, 254, 0}));
    for (int v : play(5, 5000)) EXPECT_LT(v, 255);
}

TEST_F(PlayerTest, RandomSeriesIsTheSameOnEveryRun) {
    FakePlatform other;
    std::vector<double> a, b;
    for (int i = 0; i < 20; ++i)
        a.push_back(platform.nextRandom()), b.push_back(other.nextRandom());
    EXPECT_EQ(a, b);
    for (double r : a) EXPECT_TRUE(r >= 0.0 && r < 1.0);
}

TEST_F(PlayerTest, ButtonsNineToElevenSendNothingButStillBlinkAndRepaint) {
    play(6, 3);  // motif 8
    for (Label& lamp : form.lampe) lamp.backColor = colour::kRed;
    form.lampe[8].backColor = colour::kLightGrey;
    EXPECT_TRUE(play(10, 1).empty());
    EXPECT_EQ(lamps(), "00001000");
    EXPECT_EQ(form.lampe[8].backColor, colour::kRed);
}

TEST_F(PlayerTest, ActivityLampTogglesEveryTickAndLeavesOtherColoursAlone) {
    form.lampe[8].backColor = colour::kRed;
    play(6, 1);
    EXPECT_EQ(form.lampe[8].backColor, colour::kLightGrey);
    play(6, 1);
    EXPECT_EQ(form.lampe[8].backColor, colour::kRed);
    form.lampe[8].backColor = 0x123456;
    play(6, 1);
    EXPECT_EQ(form.lampe[8].backColor, 0x123456u);
}

}  // namespace
}  // namespace lumiere
