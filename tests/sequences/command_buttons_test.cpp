// SPDX-License-Identifier: GPL-3.0-or-later
// The command buttons: the toggle and its timers, the animation loads, the stop-all right click,
// the editor, the cycle recording, and the lamp clicks.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "model/mouse.h"
#include "support/app_rig.h"
#include "text/cp1252.h"

namespace lumiere {
namespace {

using test::AppRig;
using test::pictureName;

std::vector<int> pressed(const Form1& form) {
    std::vector<int> out;
    for (int i = 0; i < kButtons; ++i) {
        if (form.Command11[i].italic) out.push_back(i);
    }
    return out;
}

TEST(CommandButtons, WithTheDeskOffAClickLoadsAndReleasesButStartsNothing) {
    AppRig rig;
    rig.folder.write("animation1.txt", "1\r\n2\r\nEND\r\n");
    rig->Form_Load();
    rig->Command11_Click(0);
    EXPECT_EQ(rig.values().choix, 0);
    EXPECT_TRUE(pressed(rig.form()).empty());
    EXPECT_FALSE(rig->show().timer1().enabled);
    EXPECT_FALSE(rig->show().timer4().enabled);
    EXPECT_EQ(rig.values().etape[3], "END");
}

TEST(CommandButtons, ASecondClickReleasesAndHandsTheLampsToTheBlinker) {
    AppRig rig;
    rig.loadAndSwitchOn();
    rig->Command11_Click(5);
    EXPECT_EQ(pressed(rig.form()), std::vector<int>{5});
    EXPECT_TRUE(rig->show().timer1().enabled);
    EXPECT_FALSE(rig->show().timer4().enabled);
    EXPECT_EQ(pictureName(rig.form().Command11[5].picture), "bouton2.dib");
    rig->Command11_Click(5);
    EXPECT_TRUE(pressed(rig.form()).empty());
    EXPECT_FALSE(rig->show().timer1().enabled);
    EXPECT_TRUE(rig->show().timer4().enabled);
    EXPECT_EQ(pictureName(rig.form().Command11[5].picture), "bouton1.dib");
}

TEST(CommandButtons, AnotherButtonTakesOverWhileThePlayerKeepsRunning) {
    AppRig rig;
    rig.loadAndSwitchOn();
    rig->Command11_Click(6);
    rig->Command11_Click(1);
    EXPECT_EQ(pressed(rig.form()), std::vector<int>{1});
    EXPECT_EQ(rig.values().choix, 1);
    EXPECT_TRUE(rig->show().timer1().enabled);
}

TEST(CommandButtons, AButtonLeftPressedAcrossASwitchOffIsReleasedByItsNextClick) {
    AppRig rig;
    rig.loadAndSwitchOn();
    rig->Command11_Click(7);
    rig->inter_Click();
    rig->inter_Click();
    EXPECT_EQ(pressed(rig.form()), std::vector<int>{7});
    rig->Command11_Click(7);
    EXPECT_TRUE(pressed(rig.form()).empty());
    EXPECT_TRUE(rig->show().timer4().enabled);
    EXPECT_FALSE(rig->show().timer1().enabled);
    rig->Command11_Click(7);
    EXPECT_EQ(pressed(rig.form()), std::vector<int>{7});
}

TEST(CommandButtons, SampleSequenceButtonPressesAndOpensTheSampleInTheEditor) {
    AppRig rig;
    rig.folder.write("exemple.txt", "END\r\n");
    rig.loadAndSwitchOn();
    rig->Command11_Click(10);
    EXPECT_EQ(pressed(rig.form()), std::vector<int>{10});
    EXPECT_TRUE(rig->show().timer1().enabled);
    EXPECT_EQ(rig.platform.editorOpened, std::vector<std::string>{rig.folder.file("exemple.txt")});
    rig->Timer1_Timer();
    EXPECT_TRUE(rig.port.writes.empty());  // choix 10 plays no pattern
}

TEST(CommandButtons, AnEditorThatCannotOpenOrAMissingFileIsReported) {
    AppRig rig;
    rig->Form_Load();
    rig->Command11_Click(10);  // no exemple.txt
    EXPECT_NE(rig.form().status.notice.find("exemple.txt"), std::string::npos);
    EXPECT_TRUE(rig.platform.editorOpened.empty());
    rig.folder.write("animation2.txt", "1\r\n");
    rig.platform.editorWorks = false;
    rig->Command11_MouseDown(1, mouse::kRight, 0, 0, 0);
    EXPECT_NE(rig.form().status.notice.find(fromUtf8("Aucun éditeur")), std::string::npos);
}

TEST(CommandButtons, RightClickOnAnAnimationOpensItsFileAndChangesNothingElse) {
    AppRig rig;
    rig.folder.write("animation3.txt", "1\r\n");
    rig.loadAndSwitchOn();
    rig->Command11_Click(6);
    rig->Command11_MouseDown(2, mouse::kRight, 0, 0, 0);
    EXPECT_EQ(rig.platform.editorOpened,
              std::vector<std::string>{rig.folder.file("animation3.txt")});
    EXPECT_EQ(pressed(rig.form()), std::vector<int>{6});
    EXPECT_TRUE(rig->show().timer1().enabled);
    EXPECT_EQ(rig.values().choix, 6);
}

TEST(CommandButtons, RightClickStopsAllEvenWithNothingRunning) {
    AppRig rig;
    rig.loadAndSwitchOn();
    rig->Command11_Click(3);
    rig->Command11_MouseDown(8, mouse::kLeft, 0, 0, 0);  // only the right button counts
    EXPECT_EQ(pressed(rig.form()), std::vector<int>{3});
    rig->Command11_MouseDown(8, mouse::kRight, 0, 0, 0);
    EXPECT_TRUE(pressed(rig.form()).empty());
    EXPECT_EQ(rig.values().arret, 1);
    EXPECT_FALSE(rig->show().timer1().enabled);
    EXPECT_TRUE(rig->show().timer4().enabled);
    rig->inter_Click();
    rig->Command11_MouseDown(11, mouse::kRight, 0, 0, 0);
    EXPECT_FALSE(rig->show().timer4().enabled);  // the desk is off: the blinker stays off
}

TEST(CommandButtons, RecordingACycleWritesTheKnobTops) {
    AppRig rig;
    rig->Form_Load();
    rig.platform.saveAnswers.push_back(rig.folder.file("Cycle_1.txt"));
    rig->Command11_Click(11);
    EXPECT_EQ(rig.platform.saveDialogs, std::vector<std::string>{"Cycle_1.txt"});
    EXPECT_EQ(rig.folder.read("Cycle_1.txt"),
              "2460\r\n1770\r\n1860\r\n1950\r\n1860\r\n2580\r\n2070\r\n2640\r\n1920\r\n");
    EXPECT_EQ(rig.form().Label5.caption, fromUtf8("Enregistré "));
    rig->potar_MouseDown(0, mouse::kLeft, 0, 0, 0);
    rig->Picture11_MouseMove(0, 0, 1000, 1000);
    rig.platform.saveAnswers.push_back(rig.folder.file("Cycle_1.txt"));  // overwrite
    rig->Command11_Click(11);
    EXPECT_EQ(rig.folder.read("Cycle_1.txt").substr(0, 6), "1000\r\n");
}

TEST(CommandButtons, AFailedCycleWriteSaysSoAndKeepsTheOldFile) {
    AppRig rig;
    rig->Form_Load();
    rig.folder.write("old.txt", "keep\r\n");
    ::mkdir(rig.folder.file("dir.txt").c_str(), 0755);
    rig.platform.saveAnswers.push_back(rig.folder.file("dir.txt"));
    rig->Command11_Click(11);
    EXPECT_EQ(rig.form().Label5.caption, fromUtf8("Non enregistré"));
    EXPECT_NE(rig.form().status.notice.find("dir.txt"), std::string::npos);
    rig.platform.saveAnswers.push_back(rig.folder.file("missing/old.txt"));
    rig->Command11_Click(11);
    EXPECT_EQ(rig.folder.read("old.txt"), "keep\r\n");
}

TEST(CommandButtons, CancellingTheSaveDialogWritesNothing) {
    AppRig rig;
    rig->Form_Load();
    rig->Command11_Click(11);
    EXPECT_EQ(rig.form().Label5.caption, "............................");
}

TEST(CommandButtons, MissingFacePicturesKeepThePressedStateInTheFont) {
    AppRig rig;
    rig.platform.missingPictures = {"bouton2.dib"};
    rig.loadAndSwitchOn();
    rig->Command11_Click(4);
    EXPECT_EQ(pressed(rig.form()), std::vector<int>{4});
    EXPECT_EQ(pictureName(rig.form().Command11[4].picture), "bouton1.dib");
    EXPECT_TRUE(rig->show().timer1().enabled);
}

TEST(CommandButtons, AMissingAnimationFileKeepsTheStepsAndNamesTheFile) {
    AppRig rig;
    rig.folder.write("animation1.txt", "9\r\nEND\r\n");
    rig->Form_Load();
    rig->Command11_Click(0);
    rig->Command11_Click(1);  // no animation2.txt
    EXPECT_EQ(rig.values().etape[1], "9");
    EXPECT_NE(rig.form().status.notice.find("animation2.txt"), std::string::npos);
}

TEST(LampClick, TogglesRedAndGreyOnlyAndSendsNothing) {
    AppRig rig;
    rig->Form_Load();
    rig->lampe_Click(2);
    EXPECT_EQ(rig.form().lampe[2].backColor, colour::kRed);
    rig->lampe_Click(2);
    EXPECT_EQ(rig.form().lampe[2].backColor, colour::kLightGrey);
    EXPECT_TRUE(rig.port.writes.empty());
}

}  // namespace
}  // namespace lumiere
