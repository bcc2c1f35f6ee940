// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "link/lamp_link.h"
#include "settings/profile.h"
#include "support/fake_serial_port.h"
#include "support/temp_folder.h"
#include "text/number.h"

namespace lumiere {
namespace {

class SettingsDialogTest : public testing::Test {
protected:
    // Opens the dialog the way start-up fills it: port 1, the desk picture.
    void open(const std::string& port, const std::string& picture = "pupitre.bmp") {
        form.Text1.text = port;
        form.Text2.text = picture;
        dialog.show();
    }
    bool hasProfile() const { return std::filesystem::exists(folder.file("param.ini")); }
    std::string savedPort() const {
        return Profile::parse(folder.read("param.ini")).read("Port", "COM", 4);
    }

    TempFolder folder;
    Form2 form = makeForm2();
    test::FakeSerialPort port;
    LampLink link{port, PortDevices(folder.path())};
    SettingsDialog dialog{form, link, folder.file("param.ini")};
};

TEST_F(SettingsDialogTest, SaveWritesTheProfileAndMovesTheLink) {
    link.setPortNumber(1);
    open("4");
    dialog.Command2_Click();
    EXPECT_EQ(folder.read("param.ini"), "[Port]\r\nCOM=4\r\n[Table]\r\nvaleur=pupitre.bmp\r\n");
    EXPECT_FALSE(form.visible);
    EXPECT_EQ(form.error, "");
    EXPECT_EQ(link.portNumber(), 4);
    link.envoi(7);
    EXPECT_EQ(port.device, "/dev/ttyS3");
    EXPECT_EQ(port.values(), std::vector<int>{7});
}

TEST_F(SettingsDialogTest, SaveKeepsTheOtherLinesOfTheProfile) {
    const std::string before =
        "; r\xE9glages\r\n[Port]\r\nCOM=1\r\nVitesse=9600\r\n\r\n[Table]\nvaleur=old.bmp\r\n"
        "[Autre]\r\nx=1";
    folder.write("param.ini", before);
    open("2", "new.bmp");
    dialog.Command2_Click();
    EXPECT_EQ(folder.read("param.ini"),
              "; r\xE9glages\r\n[Port]\r\nCOM=2\r\nVitesse=9600\r\n\r\n[Table]\nvaleur=new.bmp\r\n"
              "[Autre]\r\nx=1");

    const std::string same = "[Port]\r\nCOM=1\r\n[Table]\r\nvaleur=pupitre.bmp\r\n";
    folder.write("param.ini", same);
    open("1");
    dialog.Command2_Click();
    EXPECT_EQ(folder.read("param.ini"), same);
    EXPECT_FALSE(form.visible);
}

TEST_F(SettingsDialogTest, APortThatIsNotAWholeNumberIsRefused) {
    for (const std::string text :
         {"abc", "", "  ", "3x", "x3", "3,5", "1.2.3", "1 2", "1\t2", "12abc", "- 4"}) {
        for (const bool existing : {false, true}) {
            const std::string before = "[Port]\r\nCOM=1\r\n[Table]\r\nvaleur=pupitre.bmp\r\n";
            std::filesystem::remove(folder.file("param.ini"));
            if (existing) folder.write("param.ini", before);
            link.setPortNumber(1);
            open(text);
            dialog.Command2_Click();
            const std::string what = "\"" + text + "\"" + (existing ? " over param.ini" : "");
            EXPECT_EQ(hasProfile(), existing) << what;
            EXPECT_EQ(existing ? folder.read("param.ini") : before, before) << what;
            EXPECT_TRUE(form.visible) << what;
            EXPECT_NE(form.error, "") << what;
            EXPECT_EQ(link.portNumber(), 1) << what;
            EXPECT_EQ(form.Text1.text, text) << what;
        }
    }
    open("3");  // corrected: saved, and the message goes away
    form.error = "old";
    dialog.Command2_Click();
    EXPECT_EQ(form.error, "");
    EXPECT_FALSE(form.visible);
    EXPECT_EQ(link.portNumber(), 3);
}

TEST_F(SettingsDialogTest, APortNumberIsRoundedHalfToEven) {
    const std::pair<std::string, int> cases[] = {{" 12 ", 12}, {"2.5", 2},   {"3.5", 4},
                                                 {"\t7", 7},   {"&H10", 16}, {"+5", 5}};
    for (const auto& [text, number] : cases) {
        open(text);
        dialog.Command2_Click();
        EXPECT_FALSE(form.visible) << text;
        EXPECT_EQ(link.portNumber(), number) << text;
        const auto saved = parseWholeNumber(savedPort());
        ASSERT_TRUE(saved.has_value()) << text;
        EXPECT_EQ(roundHalfEven(*saved), number) << text;
    }
    link.envoi(1);
    EXPECT_EQ(port.device, "/dev/ttyS4");
}

TEST_F(SettingsDialogTest, CancelWritesNothingAndKeepsTheTexts) {
    link.setPortNumber(1);
    open("9", "autre.bmp");
    dialog.Command12_Click();
    EXPECT_FALSE(hasProfile());
    EXPECT_FALSE(form.visible);
    EXPECT_EQ(form.Text1.text, "9");
    EXPECT_EQ(form.Text2.text, "autre.bmp");
    EXPECT_EQ(link.portNumber(), 1);
}

TEST_F(SettingsDialogTest, AnUnreadableProfileIsNotOverwritten) {
    std::filesystem::create_directory(folder.file("param.ini"));
    folder.write("param.ini/keep", "x");
    open("4");
    dialog.Command2_Click();
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("param.ini")));
    EXPECT_EQ(folder.read("param.ini/keep"), "x");
    EXPECT_NE(form.error, "");
}

}  // namespace
}  // namespace lumiere
