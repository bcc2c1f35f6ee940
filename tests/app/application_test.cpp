// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, shutdown, the menus and the clock.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "support/app_rig.h"
#include "text/cp1252.h"

namespace lumiere {
namespace {

using test::AppRig;
using test::pictureName;

TEST(StartUp, ResetsTheDeskDisplayAndSendsNothing) {
    AppRig rig;
    rig->Form_Load();
    EXPECT_EQ(rig.values().marche, 0);
    for (const Label& lamp : rig.form().lampe) EXPECT_EQ(lamp.backColor, colour::kLightGrey);
    for (const Gauge& gauge : rig.form().Gauge1) {
        EXPECT_EQ(gauge.min, 0);
        EXPECT_EQ(gauge.max, 20);
        EXPECT_TRUE(gauge.value >= 0 && gauge.value <= 20);
    }
    EXPECT_EQ(rig.form().Gauge1[0].value, 5);
    EXPECT_EQ(rig.form().montre.caption, "....");
    EXPECT_TRUE(rig.port.calls.empty());
    EXPECT_FALSE(rig.form2().visible);
}

TEST(StartUp, ReadsThePortAndDeskPictureIntoTheLinkAndTheSettingsDialog) {
    AppRig rig;
    rig->Form_Load();
    EXPECT_EQ(rig->link().portNumber(), 1);
    EXPECT_EQ(rig.form2().Text1.text, "1");
    EXPECT_EQ(rig.form2().Text2.text, "pupitre.bmp");
    EXPECT_EQ(pictureName(rig.form().Picture11.picture), "pupitre.bmp");
}

TEST(StartUp, PortTextsAreReadForTheirLeadingNumber) {
    const std::pair<const char*, int> cases[] = {{"3", 3},   {" 12 ", 12},    {"2.5", 2},
                                                 {"3.5", 4}, {"12345", 1234}, {"COM3", 0},
                                                 {"", 0},    {"&H10", 16},    {"9E99", 0}};
    for (const auto& [text, port] : cases) {
        AppRig rig;
        rig.folder.write("param.ini", std::string("[Port]\r\nCOM=") + text + "\r\n");
        rig->Form_Load();
        EXPECT_EQ(rig->link().portNumber(), port) << text;
    }
}

TEST(StartUp, LongPictureNamesAreCutTo49Characters) {
    AppRig rig;
    const std::string name(60, 'p');
    rig.folder.write("param.ini", "[Table]\r\nvaleur=" + name + "\r\n");
    rig->Form_Load();
    EXPECT_EQ(rig.form2().Text2.text, name.substr(0, 49));
    EXPECT_EQ(rig.platform.picturesLoaded.back(), rig.folder.file(name.substr(0, 49)));
}

TEST(StartUp, WithoutAnySettingsItCompletesAndSaysWhatIsMissing) {
    AppRig rig;
    ::unlink(rig.folder.file("param.ini").c_str());
    rig.platform.missingPictures = {""};
    rig->Form_Load();
    EXPECT_EQ(rig->link().portNumber(), 0);
    EXPECT_EQ(rig.form().Picture11.picture, nullptr);  // the built-in desk stays
    EXPECT_NE(rig.form().status.linkFault.find(fromUtf8("Aucun port")), std::string::npos);
    EXPECT_FALSE(rig.form().status.notice.empty());
    rig->n_quit_Click();  // quits cleanly with no port at all
    EXPECT_EQ(rig.platform.ended, 1);
}

TEST(StartUp, AMissingDeskPictureKeepsTheBuiltInOne) {
    AppRig rig;
    rig.platform.missingPictures = {"pupitre.bmp"};
    rig->Form_Load();
    EXPECT_EQ(rig.form().Picture11.picture, nullptr);
    EXPECT_NE(rig.form().status.notice.find("pupitre.bmp"), std::string::npos);
}

TEST(StartUp, AnUnreadableProfileIsReportedAndNotLost) {
    AppRig rig;
    ::unlink(rig.folder.file("param.ini").c_str());
    ::mkdir(rig.folder.file("param.ini").c_str(), 0755);
    rig->Form_Load();
    EXPECT_NE(rig.form().status.notice.find("param.ini"), std::string::npos);
}

TEST(Shutdown, QuitAndTheCloseBoxEachSendOneAllOffFrameAndEnd) {
    for (bool viaMenu : {true, false}) {
        AppRig rig;
        rig.loadAndSwitchOn();
        if (viaMenu)
            rig->n_quit_Click();
        else
            rig->Form_Unload();
        EXPECT_EQ(rig.port.writes, (std::vector<std::vector<std::uint8_t>>{{0x6E, 0x00}}));
        EXPECT_EQ(rig.platform.ended, 1);
        rig->Form_Unload();  // the window closing after "Quitter" sends nothing more
        EXPECT_EQ(rig.port.writes.size(), 1u);
    }
}

TEST(Menus, AboutShowsItsBoxAndSettingsShowsTheDialogAsLeft) {
    AppRig rig;
    rig->Form_Load();
    rig->n_a_propos_Click();
    ASSERT_EQ(rig.platform.messages.size(), 1u);
    EXPECT_EQ(rig.platform.messages[0].first, "A propos de...");
    EXPECT_EQ(rig.platform.messages[0].second.rfind(
                  fromUtf8("Jeu de lumière commandé par PC - ver 1.0 - "), 0),
              0u);
    rig->Text1_Change("7");
    rig->n_param_Click();
    EXPECT_TRUE(rig.form2().visible);
    rig->Form2_Close();  // the close box cancels
    EXPECT_FALSE(rig.form2().visible);
    rig->n_param_Click();
    EXPECT_EQ(rig.form2().Text1.text, "7");
    EXPECT_EQ(rig->link().portNumber(), 1);
}

TEST(Clock, ShowsTheTimeOfDayAsEightCharacters) {
    AppRig rig;
    rig->Form_Load();
    rig.platform.clock = {14, 5, 9};
    rig->Timer3_Timer();
    EXPECT_EQ(rig.form().montre.caption, "14:05:09");
    rig.platform.clock = {0, 0, 0};
    rig->Timer3_Timer();
    EXPECT_EQ(rig.form().montre.caption, "00:00:00");
}

TEST(Notification, EveryHandlerTellsTheViewOnceAndCarriesTheLinkState) {
    AppRig rig;
    rig->Form_Load();
    const int before = rig.changes;
    rig->Timer4_Timer();
    EXPECT_EQ(rig.changes, before + 1);
    rig.port.openError = EBUSY;
    rig->inter_Click();
    rig->Timer4_Timer();
    EXPECT_NE(rig.form().status.linkFault.find(fromUtf8("occupé")), std::string::npos);
    rig.port.openError = 0;
    rig->Timer4_Timer();
    EXPECT_TRUE(rig.form().status.linkFault.empty());
}

}  // namespace
}  // namespace lumiere
