// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: our options read, Qt's passed on in order, anything else refused with exit
// code 2, --help and --version answered in French.

#include <gtest/gtest.h>
#include <sstream>

#include "folders/command_line.h"

namespace lumiere::folders {
namespace {

using Args = std::vector<std::string>;

struct Answer {
    std::optional<int> code;
    std::string out;
    std::string err;
};

Answer answer(const Args& args) {
    std::ostringstream out;
    std::ostringstream err;
    const auto code = answerCommandLine(parseCommandLine(args), "lumiere", out, err);
    return {code, out.str(), err.str()};
}

TEST(CommandLine, OurOptionsAreReadAndQtsArePassedOnInOrder) {
    const CommandLine line = parseCommandLine(
        {"lumiere", "-platform", "offscreen", "--dossier", "/srv/show", "-style=fusion", "-reverse",
         "--platform", "xcb", "-title", "--dossier", "-qmljsdebugger=port:1234"});
    ASSERT_TRUE(line.ok()) << line.error;
    EXPECT_EQ(line.folder, "/srv/show");
    EXPECT_EQ(line.qtArguments,
              (Args{"lumiere", "-platform", "offscreen", "-style=fusion", "-reverse", "--platform",
                    "xcb", "-title", "--dossier", "-qmljsdebugger=port:1234"}));
    EXPECT_FALSE(answer({"lumiere", "-platform", "offscreen"}).code.has_value());

    EXPECT_EQ(parseCommandLine({"lumiere", "--dossier=/a b"}).folder, "/a b");
    EXPECT_EQ(parseCommandLine({"lumiere", "--folder", "rel"}).folder, "rel");
    EXPECT_EQ(parseCommandLine({"lumiere"}).qtArguments, Args{"lumiere"});
}

TEST(CommandLine, UnknownOptionsAndStrayArgumentsExitWithCodeTwo) {
    const struct {
        Args args;
        std::string message;
    } cases[] = {
        {{"lumiere", "--dossiers", "/x"}, "lumiere : option inconnue « --dossiers »."},
        {{"lumiere", "-x"}, "lumiere : option inconnue « -x »."},
        {{"lumiere", "fichier.txt"}, "lumiere : argument inattendu « fichier.txt »."},
        {{"lumiere", "--dossier"}, "lumiere : l’option --dossier demande un dossier."},
        {{"lumiere", "--dossier="}, "lumiere : l’option --dossier demande un dossier."},
        {{"lumiere", "--help", "--bogus"}, "lumiere : option inconnue « --bogus »."},
    };
    for (const auto& c : cases) {
        const Answer a = answer(c.args);
        EXPECT_EQ(a.code, kExitUsage) << c.message;
        EXPECT_EQ(a.err, c.message + "\nEssayez « lumiere --help ».\n");
        EXPECT_TRUE(a.out.empty());
    }
}

TEST(CommandLine, HelpAndVersionAnswerOnStandardOutput) {
    for (const char* option : {"--help", "-h", "--aide"}) {
        const Answer a = answer({"lumiere", option});
        EXPECT_EQ(a.code, 0);
        EXPECT_EQ(a.out.rfind("Usage : lumiere [--dossier DOSSIER] [options de Qt]\n", 0), 0u);
        EXPECT_NE(a.out.find("~/.local/share/lumiere"), std::string::npos);
        EXPECT_TRUE(a.err.empty());
    }
    const Answer v = answer({"lumiere", "--version"});
    EXPECT_EQ(v.code, 0);
    EXPECT_EQ(v.out.rfind(std::string("lumiere (Lumière) ") + LUMIERE_TEST_VERSION + "\n", 0), 0u);
    EXPECT_NE(v.out.find("GNU GPL version 3 ou ultérieure"), std::string::npos);
    EXPECT_EQ(versionText("lumiere-sim").rfind("lumiere-sim (Lumière) 1.0\n", 0), 0u);
}

TEST(CommandLine, TheArgumentVectorOutlivesItsSourceAndEndsWithNull) {
    ArgumentVector vector(parseCommandLine({"lumiere", "-platform", "offscreen"}).qtArguments);
    ASSERT_EQ(vector.argc(), 3);
    EXPECT_STREQ(vector.argv()[0], "lumiere");
    EXPECT_STREQ(vector.argv()[2], "offscreen");
    EXPECT_EQ(vector.argv()[3], nullptr);
}

}  // namespace
}  // namespace lumiere::folders
