// SPDX-License-Identifier: GPL-3.0-or-later
// param.ini as hand editors leave it: start-up finds the port and the desk picture the way the
// program has always read them, and "Enregistrer" changes those two entries and nothing else.

#include <gtest/gtest.h>

#include "support/hostile_input.h"
#include "text/cp1252.h"
#include "text/french.h"

namespace lumiere {
namespace {

using test::AppRig;

struct IniCase {
    const char* what;
    std::string before;
    int port;
    std::string picture;
    std::string after;  // once "Enregistrer" saved port 4 and the picture start-up read
};

std::vector<IniCase> iniCases() {
    const std::string longValue = [] {
        std::string v;
        while (v.size() < 10000) v += "abcdefghij";
        return v;
    }();
    const std::string bom = "\xEF\xBB\xBF";
    return {
        {"duplicate sections and keys: the first counts",
         "[Port]\r\nCOM=3\r\nCOM=9\r\n[Table]\r\nvaleur=a.bmp\r\n[Port]\r\nCOM=7\r\n[Table]\r\n"
         "valeur=b.bmp\r\n",
         3, "a.bmp",
         "[Port]\r\nCOM=4\r\nCOM=9\r\n[Table]\r\nvaleur=a.bmp\r\n[Port]\r\nCOM=7\r\n[Table]\r\n"
         "valeur=b.bmp\r\n"},
        {"a section repeated at once",
         "[Port]\r\nCOM=3\r\n[port]\r\nCOM=7\r\n[Table]\r\nvaleur=a.bmp\r\n"
         "[TABLE]\r\nvaleur=b.bmp\r\n",
         3, "a.bmp",
         "[Port]\r\nCOM=4\r\n[port]\r\nCOM=7\r\n[Table]\r\nvaleur=a.bmp\r\n[TABLE]\r\n"
         "valeur=b.bmp\r\n"},
        {"names in other letter case", "[pORT]\r\ncom=2\r\n[TABLE]\r\nVALEUR=Pupitre.BMP\r\n", 2,
         "Pupitre.BMP", "[pORT]\r\nCOM=4\r\n[TABLE]\r\nvaleur=Pupitre.BMP\r\n"},
        {"no final line end", "[Port]\r\nCOM=3\r\n[Table]\r\nvaleur=x.bmp", 3, "x.bmp",
         "[Port]\r\nCOM=4\r\n[Table]\r\nvaleur=x.bmp"},
        {"no final line end after the port", "[Table]\r\nvaleur=x.bmp\r\n[Port]\r\nCOM=3", 3,
         "x.bmp", "[Table]\r\nvaleur=x.bmp\r\n[Port]\r\nCOM=4"},
        {"a 10,000-character picture name", "[Port]\r\nCOM=3\r\n[Table]\r\nvaleur=" + longValue, 3,
         longValue.substr(0, 49),
         "[Port]\r\nCOM=4\r\n[Table]\r\nvaleur=" + longValue.substr(0, 49)},
        {"a 10,000-character port", "[Port]\r\nCOM=2" + std::string(9999, '0') + "\r\n", 2000, "",
         "[Port]\r\nCOM=4\r\n[Table]\r\nvaleur=\r\n"},
        {"a UTF-8 byte-order mark", bom + "[Port]\r\nCOM=3\r\n[Table]\r\nvaleur=x.bmp\r\n", 3,
         "x.bmp", bom + "[Port]\r\nCOM=4\r\n[Table]\r\nvaleur=x.bmp\r\n"},
        {"CR-only lines", "[Port]\rCOM=3\r[Table]\rvaleur=x.bmp\r", 3, "x.bmp",
         "[Port]\rCOM=4\r[Table]\rvaleur=x.bmp\r"},
        {"LF-only lines", "[Port]\nCOM=3\n[Table]\nvaleur=x.bmp\n", 3, "x.bmp",
         "[Port]\nCOM=4\n[Table]\nvaleur=x.bmp\n"},
        {"comments, blanks, quotes, other sections and mixed line ends",
         "; r\xE9glages\r\n\r\n[Autre]\r\nCOM=8\r\n  [ Port ]  \n\tCOM = 5 \r\n; COM=6\r\n"
         "vitesse=9600\r\r\n[Table]\r\n valeur = \"mon pupitre.bmp\" \r\n[Vide]",
         5, "mon pupitre.bmp",
         "; r\xE9glages\r\n\r\n[Autre]\r\nCOM=8\r\n  [ Port ]  \nCOM=4\r\n; COM=6\r\n"
         "vitesse=9600\r\r\n[Table]\r\nvaleur=mon pupitre.bmp\r\n[Vide]"},
        {"neither section", "[Autre]\r\nx=1", 0, "",
         "[Autre]\r\nx=1\r\n[Port]\r\nCOM=4\r\n[Table]\r\nvaleur=\r\n"},
    };
}

TEST(HandEditedParamIni, StartUpReadsItAndSavingChangesOnlyTheTwoEntries) {
    for (const IniCase& c : iniCases()) {
        AppRig rig;
        rig.folder.write("param.ini", c.before);
        rig->Form_Load();
        EXPECT_EQ(rig->link().portNumber(), c.port) << c.what;
        EXPECT_EQ(rig.form2().Text2.text, c.picture) << c.what;
        EXPECT_EQ(rig.platform.picturesLoaded.back(), rig.folder.file(c.picture)) << c.what;
        EXPECT_EQ(rig.folder.read("param.ini"), c.before) << c.what << ": start-up wrote";

        rig->n_param_Click();
        rig->Text1_Change("4");
        rig->Command2_Click();
        EXPECT_EQ(rig.form2().error, "") << c.what;
        EXPECT_FALSE(rig.form2().visible) << c.what;
        EXPECT_EQ(rig->link().portNumber(), 4) << c.what;
        EXPECT_EQ(rig.folder.read("param.ini"), c.after) << c.what;
        EXPECT_FALSE(test::temporaryFilesLeft(rig.folder.path())) << c.what;
    }
}

TEST(HandEditedParamIni, GarbageStartsWithoutAPortAndIsKeptAroundTheNewEntries) {
    const std::string garbage = test::randomBytes(20000, 99);
    AppRig rig;
    rig.folder.write("param.ini", garbage);
    rig->Form_Load();
    EXPECT_EQ(rig->link().portNumber(), 0);
    rig->n_param_Click();
    rig->Text1_Change("4");
    rig->Text2_Change("pupitre.bmp");
    rig->Command2_Click();
    EXPECT_EQ(rig.form2().error, "");
    const std::string saved = rig.folder.read("param.ini");
    // The random bytes end without a line end: the new lines follow a CR LF of their own.
    const std::string added = "\r\n[Port]\r\nCOM=4\r\n[Table]\r\nvaleur=pupitre.bmp\r\n";
    ASSERT_GE(saved.size(), garbage.size());
    EXPECT_EQ(saved.substr(0, garbage.size()), garbage);
    EXPECT_EQ(saved.substr(garbage.size()), added);

    AppRig again;
    again.folder.write("param.ini", saved);
    again->Form_Load();
    EXPECT_EQ(again->link().portNumber(), 4);
    EXPECT_EQ(again.form2().Text2.text, "pupitre.bmp");
}

TEST(HandEditedParamIni, AnOversizedFileIsReportedAndNeverOverwritten) {
    AppRig rig;
    const std::string huge = "[Port]\r\nCOM=3\r\n" + std::string(2 << 20, ';');
    rig.folder.write("param.ini", huge);
    rig->Form_Load();
    EXPECT_EQ(rig->link().portNumber(), 0);
    EXPECT_NE(
        rig.form().status.notice.find(rig.folder.file("param.ini") + " : " + describeError(EFBIG)),
        std::string::npos)
        << rig.form().status.notice;
    rig->n_param_Click();
    rig->Text1_Change("4");
    rig->Command2_Click();
    EXPECT_NE(rig.form2().error, "");
    EXPECT_TRUE(rig.form2().visible);
    EXPECT_EQ(rig.folder.read("param.ini"), huge);
    EXPECT_FALSE(test::temporaryFilesLeft(rig.folder.path()));
}

// A param.ini saved as UTF-8 by a Linux editor names "pupître.bmp", not "pupÃ®tre.bmp".
TEST(HandEditedParamIni, AUtf8PictureNameLoadsThatFile) {
    for (const std::string bom : {"", "\xEF\xBB\xBF"}) {
        AppRig rig;
        rig.folder.write("param.ini", bom + "[Table]\r\nvaleur=pup\xC3\xAEtre.bmp\r\n");
        rig->Form_Load();
        EXPECT_EQ(rig.platform.picturesLoaded.back(), rig.folder.file("pup\xC3\xAEtre.bmp"))
            << (bom.empty() ? "without" : "with") << " a byte-order mark";
        EXPECT_EQ(rig.form2().Text2.text, "pup\xEEtre.bmp");
    }
}

}  // namespace
}  // namespace lumiere
