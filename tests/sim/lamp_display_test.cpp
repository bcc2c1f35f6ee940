// SPDX-License-Identifier: GPL-3.0-or-later
#include "lamp_display.h"

#include <gtest/gtest.h>

namespace lumiere::sim {
namespace {

const std::string kLit = "\033[1;91m\u25CF\033[0m";
const std::string kDark = "\033[90m\u25CB\033[0m";

TEST(LampDisplay, LampOneIsTheLowBitOnTheLeft) {
    EXPECT_EQ(formatLamps(0x01), kLit + " " + kDark + " " + kDark + " " + kDark + " " + kDark +
                                     " " + kDark + " " + kDark + " " + kDark);
    EXPECT_EQ(formatLamps(0x82), kDark + " " + kLit + " " + kDark + " " + kDark + " " + kDark +
                                     " " + kDark + " " + kDark + " " + kLit);
}

TEST(LampDisplay, LineShowsCountsValueAndRate) {
    LampState state;
    EXPECT_EQ(formatLampLine(state), formatLamps(0) + "   trames 0   valeur --   0 trames/s");

    state.value = 0xA5;
    state.frames = 1234;
    state.framesLastSecond = 99;
    state.strays = 2;
    EXPECT_EQ(formatLampLine(state),
              formatLamps(0xA5) + "   trames 1234   valeur 0xA5   99 trames/s   parasites 2");
}

}  // namespace
}  // namespace lumiere::sim
