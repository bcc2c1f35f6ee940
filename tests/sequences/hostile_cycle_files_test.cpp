// SPDX-License-Identifier: GPL-3.0-or-later
// Cycle files met by a running sequence ("cycle_x" reads cycle_x.txt): whatever they hold, the
// knobs land on finite tops a control can take, the levels, gauges and the master interval stay
// consistent with them, and the channel blinker then keeps sending pattern bytes.

#include <gtest/gtest.h>

#include <cmath>

#include "support/hostile_input.h"
#include "support/runner_driver.h"

namespace lumiere {
namespace {

using test::AppRig;
using test::runUntil;

constexpr double kSlice = 5;

// The level a knob top shows: the largest whole number not above 21 - |3090 - top| / 110.
int levelAt(double top) {
    return static_cast<int>(std::floor(21.0 - std::fabs(3090.0 - top) / 110.0));
}

// Everything the desk derives from the knob tops, checked after a cycle step.
void expectDeskConsistent(AppRig& rig, const std::string& what) {
    const Form1& form = rig.form();
    for (int i = 0; i < kStrips; ++i) {
        const double top = form.potar[i].geo.top;
        ASSERT_TRUE(std::isfinite(top)) << what << ", knob " << i;
        EXPECT_GE(top, -32768) << what << ", knob " << i;
        EXPECT_LE(top, 32767) << what << ", knob " << i;
        const int level = levelAt(top);
        EXPECT_EQ(rig.values().compteur[i], std::to_string(level)) << what << ", knob " << i;
        EXPECT_EQ(form.niveau[i].caption, rig.values().compteur[i]) << what << ", knob " << i;
        const Gauge& gauge = form.Gauge1[i];
        EXPECT_TRUE(gauge.value >= 0 && gauge.value <= 20) << what << ", gauge " << i;
        if (level >= 0 && level <= 20) {
            EXPECT_EQ(gauge.value, 20 - level) << what << ", gauge " << i;
        }
    }
    EXPECT_TRUE(rig->show().timer4().enabled) << what;
    EXPECT_FALSE(rig->show().timer1().enabled) << what;

    // The pointer over the desk, left of every knob: nothing moves, the master interval follows.
    rig->Picture11_MouseMove(0, 0, 100, 1000);
    const int master = levelAt(form.potar[8].geo.top);
    EXPECT_GE(rig->show().timer1().interval, 0) << what;
    EXPECT_EQ(rig->show().timer1().interval, 15 * std::max(0, master)) << what;

    rig.port.clear();
    constexpr int kTicks = 50;
    for (int t = 0; t < kTicks; ++t) rig->Timer4_Timer();
    const auto frames = rig.port.values();
    EXPECT_EQ(frames.size(), static_cast<std::size_t>(kTicks)) << what;
    for (int f : frames) EXPECT_TRUE(f >= 0 && f <= 255) << what << ": " << f;
}

class HostileCycleFiles : public ::testing::Test {
protected:
    // Runs a sequence made of one cycle step per file, checking the desk after each step.
    void playCycles(const std::vector<std::pair<std::string, std::string>>& files) {
        rig.loadAndSwitchOn();
        std::string steps;
        for (std::size_t i = 0; i < files.size(); ++i) {
            const std::string name = "cycle_" + std::to_string(i);
            rig.folder.write(name + ".txt", files[i].second);
            steps += name + "\r\n";
        }
        rig.folder.write("seq.txt", steps);
        rig.platform.openAnswers.push_back(rig.folder.file("seq.txt"));
        rig->Command11_Click(9);
        for (const auto& [what, bytes] : files) {
            runUntil(rig, rig.platform.seconds);
            EXPECT_EQ(rig.form().status.notice, "") << what;
            expectDeskConsistent(rig, what);
            for (const std::string& line : rig.values().position) {
                EXPECT_LE(line.size(), kMaxLineLength) << what;
            }
            rig.platform.seconds += kSlice;
        }
        EXPECT_TRUE(rig->runner().running());
    }
    AppRig rig;
};

TEST_F(HostileCycleFiles, KeepTheDeskConsistentWhateverTheyHold) {
    const std::string huge(400, '9');
    playCycles({
        {"overflowing numbers", "1e999\r\n-1e999\r\nnan\r\n" + huge + "\r\n-" + huge +
                                    "\r\n&HFFFFFFFFFFFF\r\n&O77777777777777777777777\r\n\r\n"
                                    "1e-999\r\n"},
        {"three lines only", "1000\r\n1100\r\n1200\r\n"},
        {"twenty lines", test::repeatedLines("3090", 20)},
        {"random bytes", test::randomBytes(4096, 11)},
        {"every byte value", test::allByteValues()},
        {"one 1 MB line", std::string(1 << 20, '9')},
        {"one 1 MB hexadecimal line", "&H" + std::string(1 << 20, 'F')},
        {"far outside the desk", "-32769\r\n32768\r\n-1e300\r\n1e300\r\n-0\r\n"},
        {"empty", ""},
        {"LF only", "1000\n1100\n1200\n"},
        {"CR only", "1000\r1100\r1200\r1300\r1400\r1500\r1600\r1700\r1800\r"},
    });
}

TEST_F(HostileCycleFiles, NumbersBeyondAControlPositionStopAtItsLimits) {
    const std::pair<const char*, float> cases[] = {
        {"99999999999999999999", 32767.0f},
        {"-99999999999999999999", -32768.0f},
        {"&HFFFFFFFFFFFF", 32767.0f},
        {"32767.9", 32767.0f},
        {"-32768.5", -32768.0f},
        {"1d3", 1000.0f},
        {"  - 1 2 ", -12.0f},
        {"1.5e", 1.5f},
        {"nan", 0.0f},
        {"", 0.0f},
        {"\xFF\xFE", 0.0f},
    };
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& [line, top] : cases) files.emplace_back(line, std::string(line) + "\r\n");
    rig.loadAndSwitchOn();
    std::string steps;
    for (std::size_t i = 0; i < files.size(); ++i) {
        rig.folder.write("cycle_" + std::to_string(i) + ".txt", files[i].second);
        steps += "cycle_" + std::to_string(i) + "\r\n";
    }
    test::loadSequence(rig, steps);
    rig->Command11_Click(9);
    for (const auto& [line, top] : cases) {
        runUntil(rig, rig.platform.seconds);
        EXPECT_EQ(rig.form().potar[0].geo.top, top) << "\"" << line << "\"";
        rig.platform.seconds += kSlice;
    }
}

TEST_F(HostileCycleFiles, AShortFileMovesOnlyTheKnobsItReaches) {
    rig.loadAndSwitchOn();
    rig.folder.write("cycle_full.txt", test::repeatedLines("2000", 11));
    rig.folder.write("cycle_short.txt", "1000\r\n1100\r\n1200");
    test::loadSequence(rig, "cycle_full\r\ncycle_short\r\n");
    rig->Command11_Click(9);
    runUntil(rig, rig.platform.seconds);
    rig.platform.seconds += kSlice;
    runUntil(rig, rig.platform.seconds);
    const Form1& form = rig.form();
    EXPECT_EQ(form.potar[0].geo.top, 1000);
    EXPECT_EQ(form.potar[2].geo.top, 1200);
    for (int i = 3; i < kStrips; ++i) EXPECT_EQ(form.potar[i].geo.top, 2000) << i;
    EXPECT_EQ(rig.values().position[10], "2000");
}

}  // namespace
}  // namespace lumiere
