// SPDX-License-Identifier: GPL-3.0-or-later
// The channel blinker: each channel's on and off phases as long as its level, the byte built with
// lampe(k) worth 2^k, and the hand-over from the sequence player.

#include <gtest/gtest.h>

#include "link/lamp_link.h"
#include "playback/binaire.h"
#include "playback/blinker.h"
#include "support/fake_serial_port.h"

namespace lumiere {
namespace {

using test::FakeSerialPort;

class BlinkerTest : public ::testing::Test {
protected:
    BlinkerTest() : link(port, PortDevices("/nonexistent")), blinker(form, values, link) {
        link.setPortNumber(1);
        for (Label& lamp : form.lampe) lamp.backColor = colour::kLightGrey;
    }
    void level(int channel, const char* caption) { form.niveau[channel].caption = caption; }
    std::vector<int> tick(int ticks) {
        port.clear();
        for (int i = 0; i < ticks; ++i) blinker.Timer4_Timer();
        return port.values();
    }

    Form1 form = makeForm1();
    AppValues values;
    FakeSerialPort port;
    LampLink link;
    Blinker blinker;
};

TEST_F(BlinkerTest, AllLevelsZeroSendZeroAndKeepTheLampsDark) {
    EXPECT_EQ(tick(4), (std::vector<int>{0, 0, 0, 0}));
    for (int i = 0; i < 8; ++i) EXPECT_EQ(form.lampe[i].backColor, colour::kLightGrey);
}

TEST_F(BlinkerTest, LevelOneOnChannelZeroAlternates) {
    level(0, "1");
    EXPECT_EQ(tick(6), (std::vector<int>{1, 0, 1, 0, 1, 0}));
}

TEST_F(BlinkerTest, LevelThreeOnChannelSevenHoldsThreeTicks) {
    level(7, "3");
    EXPECT_EQ(tick(9), (std::vector<int>{128, 128, 128, 0, 0, 0, 128, 128, 128}));
}

TEST_F(BlinkerTest, ChannelsStartedTogetherStayInStep) {
    level(0, "2");
    level(1, "2");
    EXPECT_EQ(tick(6), (std::vector<int>{3, 3, 0, 0, 3, 3}));
}

TEST_F(BlinkerTest, NegativeLevelsKeepTheLampDarkAndTheCountdownAtTheLevel) {
    level(2, "-2");
    EXPECT_EQ(tick(3), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(values.compteur[2], "-2");
}

TEST_F(BlinkerTest, ActivityLampIsGreyAfterEveryTick) {
    form.lampe[8].backColor = colour::kRed;
    tick(1);
    EXPECT_EQ(form.lampe[8].backColor, colour::kLightGrey);
}

TEST_F(BlinkerTest, AClickedLampStaysUntilItsCountdownRunsOut) {
    level(4, "3");
    tick(1);                                       // lamp 4 on, countdown 2
    form.lampe[4].backColor = colour::kLightGrey;  // the user clicks it off
    form.lampe[5].backColor = colour::kRed;        // and lamp 5 (level 0) on
    EXPECT_EQ(tick(3), (std::vector<int>{0, 0, 16}));
}

TEST_F(BlinkerTest, TakingOverFromThePlayerInvertsRunOutChannels) {
    // The player left lampe(0) red and lampe(1) grey; countdowns empty.
    form.lampe[0].backColor = colour::kRed;
    level(0, "0");
    level(1, "2");
    EXPECT_EQ(tick(3), (std::vector<int>{2, 2, 0}));
}

TEST_F(BlinkerTest, CountsDownAsDecimalTextBetweenTicks) {
    level(3, "12");
    tick(1);
    EXPECT_EQ(values.compteur[3], "11");
    values.compteur[3] = "1";
    tick(1);
    EXPECT_EQ(values.compteur[3], "0");
}

TEST(Binaire, ConvertsOneOrTwoUpperCaseHexDigits) {
    const std::pair<const char*, const char*> cases[] = {
        {"00", "00000000"}, {"FF", "11111111"}, {"1A", "00011010"}, {"80", "10000000"},
        {"0F", "00001111"}, {"F", "1111"},      {"5", "0101"},      {"", ""},
        {"100", ""},        {"FFF", ""}};
    for (const auto& [hex, bits] : cases) EXPECT_EQ(binaire(hex), bits) << hex;
}

}  // namespace
}  // namespace lumiere
