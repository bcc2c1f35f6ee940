// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim_config.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace lumiere::sim {
namespace {

TEST(PortFromIni, ReadsTheComKeyOfThePortSection) {
    EXPECT_EQ(portFromIni("[Port]\r\nCOM=1\r\n"), 1);
    EXPECT_EQ(portFromIni("[port]\r\ncom = 7 \r\n"), 7);
    EXPECT_EQ(portFromIni("[ PORT ]\nCom=12"), 12);  // LF only, no final line end
    EXPECT_EQ(portFromIni("\xEF\xBB\xBF[Port]\r\nCOM=3\r\n"), 3);
    EXPECT_EQ(portFromIni("; réglages\r\n[Port]\r\n; COM=4\r\nBaud=9600\r\nCOM=6\r\nCOM=8\r\n"), 6);
    // The same key elsewhere does not count, before or after the [Port] section.
    EXPECT_EQ(portFromIni("COM=9\r\n[Affichage]\r\nCOM=5\r\n[Port]\r\nCOM=2\r\n[Son]\r\nCOM=4"), 2);
}

TEST(PortFromIni, FallsBackToPortOne) {
    for (const char* text : {
             "",
             "[Affichage]\r\nCOM=5\r\n",
             "[Ports]\r\nCOM=5\r\n",
             "[Port]\r\nCOMX=5\r\n",
             "[Port]\r\nCOM=\r\n",
             "[Port]\r\nCOM=abc\r\n",
             "[Port]\r\nCOM=0\r\n",
             "[Port]\r\nCOM=-3\r\n",
             "[Port]\r\nCOM=0.5\r\n",
             "[Port]\r\nCOM=9E99\r\n",
             "\x01\xFF\xFE garbage ]]== [[\r\n",
         }) {
        EXPECT_EQ(portFromIni(text), kDefaultPort) << text;
    }
}

TEST(PortFromIni, AgreesWithLumiereOnLeadingNumbers) {
    EXPECT_EQ(portFromIni("[Port]\r\nCOM=2x\r\n"), 2);
    EXPECT_EQ(portFromIni("[Port]\r\nCOM=1.5\r\n"), 2);
    EXPECT_EQ(portFromIni("[Port]\r\nCOM=99999999999\r\n"), 9999);  // four characters read
}

TEST(PortFromIni, ReadsTheFileOrDefaults) {
    TempFolder folder;
    EXPECT_EQ(portFromIniFile(folder.file("param.ini")), kDefaultPort);
    folder.write("param.ini", "[Port]\r\nCOM=4\r\n");
    EXPECT_EQ(portFromIniFile(folder.file("param.ini")), 4);
}

TEST(Arguments, FrenchNamesEnglishAliasesAndEqualsForm) {
    const auto french = parseArguments({"--dossier", "/opt/lumiere", "--port", "3", "--log",
                                        "t.log", "--duree", "2.5", "--silencieux"});
    ASSERT_TRUE(french.ok()) << french.error;
    EXPECT_EQ(french.options.folder, "/opt/lumiere");
    EXPECT_EQ(french.options.port, 3);
    EXPECT_EQ(french.options.logPath, "t.log");
    EXPECT_EQ(french.options.durationSeconds, 2.5);
    EXPECT_TRUE(french.options.quiet);
    EXPECT_FALSE(french.options.help);

    const auto english = parseArguments({"--folder=/x", "--duration=1", "--quiet", "-h"});
    ASSERT_TRUE(english.ok()) << english.error;
    EXPECT_EQ(english.options.folder, "/x");
    EXPECT_EQ(english.options.durationSeconds, 1.0);
    EXPECT_TRUE(english.options.quiet);
    EXPECT_TRUE(english.options.help);

    const auto none = parseArguments({});
    ASSERT_TRUE(none.ok());
    EXPECT_FALSE(none.options.folder || none.options.port || none.options.logPath ||
                 none.options.durationSeconds);
}

TEST(Arguments, RejectsWhatCannotBeUsed) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--vitesse", "3"},
             {"--port"},
             {"--port", "0"},
             {"--port=COM1"},
             {"--duree", "-1"},
             {"--duree", "bientôt"},
             {"--log="},
             {"--quiet=1"},
             {"/tmp"},
         }) {
        const auto parsed = parseArguments(args);
        EXPECT_FALSE(parsed.ok()) << args.front();
    }
}

}  // namespace
}  // namespace lumiere::sim
