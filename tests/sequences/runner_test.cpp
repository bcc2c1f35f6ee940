// SPDX-License-Identifier: GPL-3.0-or-later
// The sequence runner on a fake clock: what each slice does, the loop at "END", cycle steps, the
// stop request seen only between slices, the live slider, and a run replaced by a new one.

#include <gtest/gtest.h>

#include "model/mouse.h"
#include "support/runner_driver.h"
#include "text/cp1252.h"

namespace lumiere {
namespace {

using test::AppRig;
using test::loadSequence;
using test::runUntil;

// What a slice shows: the step text, whether button 0 is pressed, and the two timers.
struct Slice {
    std::string step;
    bool pressed;
    bool player;
    bool blinker;
    bool operator==(const Slice&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Slice& s) {
    return out << "{" << s.step << "," << s.pressed << s.player << s.blinker << "}";
}

class RunnerTest : public ::testing::Test {
protected:
    void start(const std::string& lines, bool deskOn = true) {
        if (deskOn)
            rig.loadAndSwitchOn();
        else
            rig->Form_Load();
        loadSequence(rig, lines);
        rig->Command11_Click(9);
    }
    // Plays `count` slices of 5 s, recording each right after its step ran. The clock ends at
    // the end of the last slice, which the runner has not seen yet.
    std::vector<Slice> slices(int count) {
        std::vector<Slice> out;
        for (int i = 0; i < count; ++i) {
            runUntil(rig, rig.platform.seconds);  // the end of the previous slice, then this step
            const Form1& f = rig.form();
            out.push_back({f.Label5.caption, f.Command11[0].italic, rig->show().timer1().enabled,
                           rig->show().timer4().enabled});
            rig.platform.seconds += 5;
        }
        return out;
    }
    AppRig rig;
};

TEST_F(RunnerTest, EndLoopsThroughTheEmptyElementZero) {
    rig.folder.write("animation1.txt", "1\r\nEND\r\n");
    start("Animation 1\r\nEND\r\n");
    EXPECT_EQ(slices(7), (std::vector<Slice>{{"Animation 1", true, true, false},
                                             {"END", true, true, false},
                                             {"", true, true, false},
                                             {"Animation 1", false, false, true},
                                             {"END", false, false, false},
                                             {"", false, false, false},
                                             {"Animation 1", true, true, false}}));
}

TEST_F(RunnerTest, TheSameButtonTwiceReleasesItAtTheSecondStep) {
    start("Chennillard\r\nChennillard\r\n");
    slices(1);
    EXPECT_TRUE(rig.form().Command11[6].italic);
    slices(1);
    EXPECT_FALSE(rig.form().Command11[6].italic);
    EXPECT_FALSE(rig->show().timer1().enabled);
}

TEST_F(RunnerTest, ACycleStepSetsTheFadersStopsThePlayerAndBlinksForItsSlice) {
    rig.folder.write("cycle_a.txt",
                     "1000\r\n1100\r\n1200\r\n1300\r\n1400\r\n1500\r\n1600\r\n"
                     "1700\r\n1920\r\n");
    start("Animation 1\r\ncycle_a\r\nAnimation 1\r\n");
    const auto s = slices(3);
    EXPECT_EQ(s[1], (Slice{"cycle_a", true, false, true}));  // the button stays pressed
    EXPECT_EQ(rig.form().potar[3].geo.top, 1300);
    EXPECT_EQ(rig.form().niveau[3].caption, "4");
    EXPECT_EQ(rig.values().actif, 1);
    EXPECT_EQ(s[2], (Slice{"Animation 1", false, false, true}));  // so this releases it
}

TEST_F(RunnerTest, CycleFilesAreFoundWhateverTheirLetterCase) {
    rig.folder.write("Cycle_1.txt", "900\r\n");
    start("cycle_1\r\n");
    slices(1);
    EXPECT_EQ(rig.form().potar[0].geo.top, 900);
    EXPECT_EQ(rig.form().potar[1].geo.top, 0);  // lines the file lacks read as empty
}

TEST_F(RunnerTest, AMissingCycleChangesNothingAndNamesTheFile) {
    start("cycle_x\r\n");
    slices(1);
    EXPECT_EQ(rig.form().potar[0].geo.top, 2460);
    EXPECT_NE(rig.form().status.notice.find("cycle_x.txt"), std::string::npos);
    EXPECT_TRUE(rig->runner().running());
}

TEST_F(RunnerTest, AStopInTheMiddleOfASliceEndsTheRunWhenTheSliceIsOver) {
    start("Aller simple\r\n");
    rig->Slider2_Scroll(30);
    runUntil(rig, rig.platform.seconds);
    const double begin = rig.platform.seconds;
    runUntil(rig, begin + 12);
    rig->Command11_MouseDown(8, mouse::kRight, 0, 0, 0);
    EXPECT_FALSE(rig->show().timer1().enabled);
    EXPECT_TRUE(rig->show().timer4().enabled);
    EXPECT_FALSE(rig.form().Command11[9].underline);
    runUntil(rig, begin + 29.9);
    EXPECT_TRUE(rig->runner().running());
    EXPECT_TRUE(rig->show().timer4().enabled);
    runUntil(rig, begin + 30);
    EXPECT_FALSE(rig->runner().running());
    EXPECT_FALSE(rig->show().timer4().enabled);
}

TEST_F(RunnerTest, MovingTheSliderDuringASliceTakesEffectAtOnce) {
    start("Aller simple\r\nAnimation 2\r\n");
    rig->Slider2_Scroll(30);
    runUntil(rig, rig.platform.seconds);
    const double begin = rig.platform.seconds;
    runUntil(rig, begin + 0.5);
    rig->Slider2_Scroll(1);
    EXPECT_EQ(rig->runner().wakeAt(), begin + 1);
    runUntil(rig, begin + 1);
    EXPECT_EQ(rig.form().Label5.caption, "Animation 2");
}

TEST_F(RunnerTest, AFileWithoutEndRunsThroughElement255ThenZeroThenOne) {
    start("Aller simple\r\n");
    std::vector<std::string> shown;
    for (int step = 1; step <= 258; ++step) {
        runUntil(rig, rig.platform.seconds);
        shown.push_back(rig.form().Label5.caption);
        rig.platform.seconds += 5;
    }
    EXPECT_EQ(shown[0], "Aller simple");
    EXPECT_EQ(shown[254], "");  // element 255
    EXPECT_EQ(shown[255], "");  // element 0
    EXPECT_EQ(shown[256], "Aller simple");
    EXPECT_EQ(shown[257], "");
}

TEST_F(RunnerTest, WithTheDeskOffButtonStepsOnlyReleaseButCyclesStillApply) {
    rig.folder.write("cycle_b.txt", "1000\r\n");
    start(
        "Al\xC3\xA9"
        "atoire\r\ncycle_b\r\n",
        false);
    const auto s = slices(2);
    EXPECT_EQ(s[0].step, fromUtf8("Aléatoire"));
    EXPECT_FALSE(rig->show().timer1().enabled);
    EXPECT_TRUE(s[1].blinker);
    EXPECT_EQ(rig.form().potar[0].geo.top, 1000);
}

TEST_F(RunnerTest, EveryStepShowsInTheStatusLabelAndUnknownStepsDoNothing) {
    start("animation 1\r\nLancer  S\xC3\xA9quence\r\n\r\nEND\r\n");
    const auto s = slices(4);
    EXPECT_EQ(s[0].step, "animation 1");
    EXPECT_FALSE(s[0].pressed);
    EXPECT_EQ(s[1].step, fromUtf8("Lancer  Séquence"));
    EXPECT_EQ(s[2].step, "");
    EXPECT_EQ(s[3].step, "END");
}

TEST_F(RunnerTest, CancellingOrNamingAMissingFileStartsNoRun) {
    rig.loadAndSwitchOn();
    rig->Command11_Click(9);  // cancelled
    EXPECT_FALSE(rig->runner().running());
    EXPECT_FALSE(rig.form().Command11[9].underline);
    rig.platform.openAnswers.push_back(rig.folder.file("nothing.txt"));
    rig->Command11_Click(9);
    EXPECT_FALSE(rig->runner().running());
    EXPECT_NE(rig.form().status.notice.find("nothing.txt"), std::string::npos);
}

TEST_F(RunnerTest, ANewRunReplacesTheRunningOne) {
    start("Chennillard\r\nAller simple\r\n");
    slices(2);
    loadSequence(rig, "Double Chennillard\r\n");
    rig->Command11_Click(9);
    EXPECT_TRUE(rig.form().Command11[9].underline);
    EXPECT_EQ(rig->runner().stepPosition(), 1);
    slices(1);
    EXPECT_EQ(rig.form().Label5.caption, "Double Chennillard");
    EXPECT_EQ(rig.values().sequence[2], "Aller simple");  // a shorter file leaves older steps
}

TEST_F(RunnerTest, TheRunHoldsStillWhileAModalDialogIsOpen) {
    start("Chennillard\r\nAller simple\r\n");
    slices(1);
    int stepsDuringDialog = 0;
    rig.platform.duringDialog = [&] {
        const std::string before = rig.form().Label5.caption;
        runUntil(rig, rig.platform.seconds + 20);
        stepsDuringDialog += rig.form().Label5.caption != before;
    };
    rig->n_a_propos_Click();
    EXPECT_EQ(stepsDuringDialog, 0);
    rig.platform.duringDialog = nullptr;
    runUntil(rig, rig.platform.seconds + 0.1);
    EXPECT_EQ(rig.form().Label5.caption, "Aller simple");
}

}  // namespace
}  // namespace lumiere
