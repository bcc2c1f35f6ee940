// SPDX-License-Identifier: GPL-3.0-or-later
// Knob and group selection, the lower band's pointer, and the on/off switch, through the
// application as the window drives them.

#include <gtest/gtest.h>

#include "model/mouse.h"
#include "support/app_rig.h"

namespace lumiere {
namespace {

using test::AppRig;
using test::pictureName;

std::vector<std::string> knobPictures(const Form1& form) {
    std::vector<std::string> names;
    for (const PictureBox& knob : form.potar) names.push_back(pictureName(knob.picture));
    return names;
}

std::vector<std::string> highlighted(std::initializer_list<int> on) {
    std::vector<std::string> names(9, "bout_off.dib");
    for (int i : on) names[i] = "bout_on.dib";
    return names;
}

TEST(KnobSelection, LeftOrMiddleClickChoosesAndHighlightsTheKnob) {
    for (int button : {mouse::kLeft, mouse::kMiddle}) {
        AppRig rig;
        rig->Slider1_Scroll(1);
        rig->potar_MouseDown(3, button, 0, 0, 0);
        EXPECT_EQ(rig.values().actif, 3);
        EXPECT_EQ(rig.form().Slider1.value, 1);
        EXPECT_EQ(knobPictures(rig.form()), highlighted({3}));
        EXPECT_EQ(rig.form().potar[3].borderStyle, 0);
        EXPECT_EQ(rig.form().potar[2].borderStyle, 1);
        EXPECT_EQ(rig.form().Picture11.pointer, Pointer::UpArrow);
    }
}

TEST(KnobSelection, RightClickOnAChannelKnobGivesControlToTheMasterOnly) {
    AppRig rig;
    rig->Slider1_Scroll(2);
    rig->potar_MouseDown(5, mouse::kRight, 0, 0, 0);
    EXPECT_EQ(rig.values().actif, 8);
    EXPECT_EQ(rig.form().Slider1.value, 0);
    EXPECT_TRUE(rig.platform.picturesLoaded.empty());
    EXPECT_EQ(rig.form().Picture11.pointer, Pointer::Default);
}

TEST(KnobSelection, RightClickOnTheMasterHighlightsItAndEndsWithKnobOne) {
    AppRig rig;
    rig->potar_MouseDown(8, mouse::kRight, 0, 0, 0);
    EXPECT_EQ(rig.values().actif, 1);
    EXPECT_EQ(knobPictures(rig.form()), highlighted({8}));
    EXPECT_EQ(rig.form().potar[8].borderStyle, 0);
}

TEST(KnobSelection, SelectorHighlightsExactlyItsGroup) {
    const struct {
        int position;
        int actif;
        std::vector<std::string> pictures;
    } table[] = {{1, 1, highlighted({0, 2, 4, 6})},
                 {2, 2, highlighted({1, 3, 5, 7})},
                 {3, 1, highlighted({0, 1, 2, 3, 4, 5, 6, 7})},
                 {0, 6, highlighted({})}};
    for (const auto& row : table) {
        AppRig rig;
        rig->potar_MouseDown(6, mouse::kLeft, 0, 0, 0);
        rig->Slider1_Scroll(row.position);
        rig->Slider1_Click();
        EXPECT_EQ(rig.values().actif, row.actif) << row.position;
        EXPECT_EQ(knobPictures(rig.form()), row.pictures) << row.position;
    }
}

TEST(KnobSelection, MissingKnobPicturesLeaveTheKnobsAsTheyWereAndTheClickStillChooses) {
    AppRig rig;
    rig.platform.missingPictures = {"bout_on.dib"};
    rig->potar_MouseDown(2, mouse::kLeft, 0, 0, 0);
    EXPECT_EQ(rig.values().actif, 2);
    EXPECT_EQ(pictureName(rig.form().potar[2].picture), "bout_off.dib");
    EXPECT_NE(rig.form().status.notice.find("bout_on.dib"), std::string::npos);
}

TEST(KnobSelection, TheLowerBandGivesTheDefaultPointerBack) {
    AppRig rig;
    rig->potar_MouseDown(0, mouse::kLeft, 0, 0, 0);
    rig->Image4_MouseMove(0, 0, 10, 10);
    EXPECT_EQ(rig.form().Picture11.pointer, Pointer::Default);
    EXPECT_EQ(rig.values().actif, 0);
}

TEST(DeskSwitch, TurningOnRefreshesLevelsAndStartsTheBlinkerWithoutSending) {
    AppRig rig;
    rig->Form_Load();
    rig->inter_Click();
    EXPECT_EQ(rig.values().marche, 1);
    EXPECT_EQ(rig.values().actif, 1);
    EXPECT_EQ(pictureName(rig.form().inter.picture), "int2_on.dib");
    EXPECT_EQ(rig.form().niveau[8].caption, "10");
    EXPECT_EQ(rig.form().Gauge1[8].value, 10);
    EXPECT_EQ(rig.form().niveau[0].caption, "15");  // knob 0 at 2460
    EXPECT_TRUE(rig->show().timer4().enabled);
    EXPECT_FALSE(rig->show().timer1().enabled);
    EXPECT_EQ(rig->show().timer1().interval, 10);  // the switch leaves the speed alone
    EXPECT_TRUE(rig.port.writes.empty());
}

TEST(DeskSwitch, TurningOffStopsEverythingWithOneAllOffFrame) {
    AppRig rig;
    rig.loadAndSwitchOn();
    rig->Command11_Click(6);
    rig->Timer1_Timer();
    rig.port.clear();
    rig->inter_Click();
    EXPECT_EQ(rig.port.writes, (std::vector<std::vector<std::uint8_t>>{{0x6E, 0x00}}));
    EXPECT_EQ(rig.values().marche, 0);
    EXPECT_EQ(rig.values().arret, 1);
    EXPECT_FALSE(rig->show().timer1().enabled);
    EXPECT_FALSE(rig->show().timer4().enabled);
    for (const Label& lamp : rig.form().lampe) EXPECT_EQ(lamp.backColor, colour::kLightGrey);
    EXPECT_EQ(pictureName(rig.form().inter.picture), "int2_off.dib");
    EXPECT_EQ(rig.form().niveau[8].caption, "10");  // figures and gauges stay
}

}  // namespace
}  // namespace lumiere
