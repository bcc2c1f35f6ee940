// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_folder.h"
#include "text/cp1252.h"
#include "text/french.h"

namespace lumiere {
namespace {

TEST(ProfileTest, KeepsEveryLineByteForByte) {
    for (const std::string bytes :
         {"", "\r\n", "; top\r\n[Port]\r\nCOM=1\r\n[Table]\r\nvaleur=a.bmp\r\n",
          " [ Port ] \r\n  COM = 3  \n\nodd line\r\n", "[Port]\nCOM=1\n", "[Port]\rCOM=1\r\nX=2\nY",
          "[Port]\r\nCOM=1", "\xEF\xBB\xBF[Port]\r\nCOM=\xE9\r\n\r\n\r\n"}) {
        Profile profile = Profile::parse(bytes);
        EXPECT_EQ(profile.serialize(), bytes);
        profile.write("Autre", "k", "v");  // appended: the lines before it stay as they were
        const std::string after = profile.serialize();
        EXPECT_EQ(after.substr(0, bytes.size()), bytes) << testing::PrintToString(bytes);
    }
}

TEST(ProfileTest, ReadsTheFirstOccurrenceWithoutRegardToCase) {
    const Profile profile = Profile::parse(
        "; COM=0\r\nCOM=0\r\n[other]\r\nCOM=7\r\n[port]\r\n; a note\r\nCOMX=5\r\n com =  3  \r\n"
        "COM=4\r\nvaleur=a=b\r\n[PORT]\r\nCOM=5\r\nSpeed=9600\r\n[Table]\r\nVALEUR= "
        "pupitre.bmp\n");
    const struct {
        const char* section;
        const char* key;
        std::size_t maxLength;
        std::string value;
    } cases[] = {
        {"Port", "COM", 4, "3"},       {"PORT", "com", 4, "3"},
        {"Port", "valeur", 49, "a=b"}, {"Port", "COMX", 4, "5"},
        {"Other", "COM", 4, "7"},      {"Table", "valeur", 49, "pupitre.bmp"},
        {"Table", "valeur", 3, "pup"}, {"Port", "Baud", 4, ""},
        {"Missing", "COM", 4, ""},     {"Table", "COM", 4, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(profile.read(c.section, c.key, c.maxLength), c.value)
            << c.section << "/" << c.key;
    }
}

TEST(ProfileTest, ReadCutsLongValues) {
    const std::string sixty(60, 'v');
    const Profile profile = Profile::parse("[Port]\r\nCOM=12345\r\n[Table]\r\nvaleur=" + sixty);
    EXPECT_EQ(profile.read("Port", "COM", 4), "1234");
    EXPECT_EQ(profile.read("Table", "valeur", 49), sixty.substr(0, 49));
}

TEST(ProfileTest, WriteChangesOnlyWhatItMust) {
    const struct {
        std::string before;
        const char* section;
        const char* key;
        std::string after;
    } cases[] = {
        // Existing key: only its line changes.
        {"; x\r\n[Port]\r\nCOM=1\r\nOther=y\r\n[Table]\r\nCOM=1\r\n", "Port", "COM",
         "; x\r\n[Port]\r\nCOM=9\r\nOther=y\r\n[Table]\r\nCOM=1\r\n"},
        {"[Port]\r\nCOM=1\r\nCOM=2\r\n[Port]\r\nCOM=3\r\n", "Port", "COM",
         "[Port]\r\nCOM=9\r\nCOM=2\r\n[Port]\r\nCOM=3\r\n"},
        // Missing key: at the end of its section, before the blank lines that follow it.
        {"[Port]\r\nCOM=1\r\n[Table]\r\nvaleur=a\r\n", "Port", "Speed",
         "[Port]\r\nCOM=1\r\nSpeed=9\r\n[Table]\r\nvaleur=a\r\n"},
        {"[Port]\r\nCOM=1\r\n\r\n\r\n[Table]\r\nvaleur=a\r\n", "Port", "Speed",
         "[Port]\r\nCOM=1\r\nSpeed=9\r\n\r\n\r\n[Table]\r\nvaleur=a\r\n"},
        {"[Port]\r\n[Table]\r\n", "Port", "COM", "[Port]\r\nCOM=9\r\n[Table]\r\n"},
        {"[Port]\r\nCOM=1\r\n[port]\r\nX=2\r\n", "Port", "Speed",
         "[Port]\r\nCOM=1\r\nSpeed=9\r\n[port]\r\nX=2\r\n"},
        {"[Port]\r\nCOM=1", "Port", "Speed", "[Port]\r\nCOM=1\r\nSpeed=9\r\n"},
        {"[Port]\nCOM=1\n", "Port", "Speed", "[Port]\nCOM=1\nSpeed=9\r\n"},
        // Missing section: at the end.
        {"[Port]\r\nCOM=1\r\n", "Table", "valeur", "[Port]\r\nCOM=1\r\n[Table]\r\nvaleur=9\r\n"},
        {"[Port]\r\nCOM=1", "Table", "valeur", "[Port]\r\nCOM=1\r\n[Table]\r\nvaleur=9\r\n"},
        {"", "Port", "COM", "[Port]\r\nCOM=9\r\n"},
    };
    for (const auto& c : cases) {
        Profile profile = Profile::parse(c.before);
        profile.write(c.section, c.key, "9");
        EXPECT_EQ(profile.serialize(), c.after) << testing::PrintToString(c.before);
        EXPECT_EQ(profile.read(c.section, c.key, 49), "9");
    }
}

TEST(ProfileTest, WriteKeepsTheLineEndOfAReplacedLine) {
    Profile profile = Profile::parse("[port]\ncom = 1\nX=y\n");
    profile.write("Port", "COM", "4");
    const std::string bytes = profile.serialize();
    EXPECT_EQ(bytes.substr(0, 7), "[port]\n");
    EXPECT_EQ(bytes.substr(bytes.size() - 5), "\nX=y\n");
    EXPECT_EQ(Profile::parse(bytes).read("Port", "COM", 4), "4");
}

TEST(ProfileTest, NewProfileHasTheUsualLayout) {
    Profile profile;
    profile.write("Port", "COM", "4");
    profile.write("Table", "valeur", "pupitre.bmp");
    EXPECT_EQ(profile.serialize(), "[Port]\r\nCOM=4\r\n[Table]\r\nvaleur=pupitre.bmp\r\n");
}

TEST(ProfileOnDiskTest, LoadsAndSavesWholeFiles) {
    TempFolder folder;
    Profile profile = Profile::parse("[X]\r\ny=1\r\n");
    EXPECT_EQ(loadProfile(folder.file("param.ini"), profile), 0);
    EXPECT_EQ(profile.serialize(), "");

    const std::string bytes = "; r\xE9glages\n[Port]\r\nCOM=3";
    folder.write("param.ini", bytes);
    ASSERT_EQ(loadProfile(folder.file("param.ini"), profile), 0);
    EXPECT_EQ(profile.read("Port", "COM", 4), "3");
    profile.write("Port", "COM", "5");
    ASSERT_EQ(saveProfile(folder.file("param.ini"), profile), 0);
    EXPECT_EQ(folder.read("param.ini"), "; r\xE9glages\n[Port]\r\nCOM=5");

    std::filesystem::create_directory(folder.file("dir.ini"));
    EXPECT_NE(loadProfile(folder.file("dir.ini"), profile), 0);
    EXPECT_NE(saveProfile(folder.file("dir.ini"), profile), 0);
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("dir.ini")));
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        EXPECT_EQ(entry.path().filename().string().rfind(".lumiere-", 0), std::string::npos)
            << entry.path();
    }
}

TEST(ProfileOnDiskTest, UpdateWritesOnlyWhatItIsGivenAndNothingWhenTheFileCannotBeRead) {
    TempFolder folder;
    folder.write("param.ini", "; notes\r\n[Port]\r\nCOM=3\r\n");
    EXPECT_EQ(updateProfile(folder.file("param.ini"),
                            [](Profile& profile) { profile.write("DMX", "Actif", "1"); }),
              0);
    EXPECT_EQ(folder.read("param.ini"), "; notes\r\n[Port]\r\nCOM=3\r\n[DMX]\r\nActif=1\r\n");
    EXPECT_EQ(savedOrForThisSession(0), fromUtf8("Enregistré."));

    std::filesystem::create_directory(folder.file("dir.ini"));
    bool changed = false;
    const int err = updateProfile(folder.file("dir.ini"), [&](Profile&) { changed = true; });
    EXPECT_NE(err, 0);
    EXPECT_FALSE(changed);
    EXPECT_EQ(savedOrForThisSession(err),
              fromUtf8("param.ini n’a pas pu être enregistré (") + describeError(err) +
                  fromUtf8(") ; les réglages valent pour cette séance seulement."));
}

}  // namespace
}  // namespace lumiere

namespace lumiere {
namespace {

TEST(ProfileMark, AByteOrderMarkIsKeptAndDoesNotHideTheFirstSection) {
    Profile profile = Profile::parse("\xEF\xBB\xBF[Port]\r\nCOM=3\r\n");
    EXPECT_EQ(profile.read("Port", "COM", 4), "3");
    profile.write("Port", "COM", "5");
    EXPECT_EQ(profile.serialize(), "\xEF\xBB\xBF[Port]\r\nCOM=5\r\n");
}

}  // namespace
}  // namespace lumiere
