// SPDX-License-Identifier: GPL-3.0-or-later
#include "com_link.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace lumiere::sim {
namespace {

namespace fs = std::filesystem;

TEST(ComLink, CreatesReplacesAndRemovesOnlyItsOwnLink) {
    TempFolder folder;
    std::string error;
    ComLink first(folder.path(), "COM2", "/dev/pts/100");
    EXPECT_EQ(first.create(error), ComLink::Outcome::Created) << error;
    EXPECT_EQ(fs::read_symlink(folder.file("COM2")), "/dev/pts/100");

    // A second simulator takes the name over; the first must then leave it alone.
    ComLink second(folder.path(), "COM2", "/dev/pts/101");
    EXPECT_EQ(second.create(error), ComLink::Outcome::Replaced) << error;
    EXPECT_EQ(fs::read_symlink(folder.file("COM2")), "/dev/pts/101");
    EXPECT_FALSE(first.removeIfOurs());
    EXPECT_TRUE(fs::is_symlink(folder.file("COM2")));
    EXPECT_TRUE(second.removeIfOurs());
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder.file("COM2"))));
    EXPECT_FALSE(second.removeIfOurs());

    // No temporary name is left behind.
    EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST(ComLink, RefusesToReplaceAnythingButASymlink) {
    TempFolder folder;
    folder.write("COM1", "vrai fichier");
    fs::create_directory(folder.file("COM3"));
    std::string error;

    ComLink overFile(folder.path(), "COM1", "/dev/pts/100");
    EXPECT_EQ(overFile.create(error), ComLink::Outcome::Refused);
    EXPECT_NE(error.find("COM1"), std::string::npos);
    EXPECT_EQ(folder.read("COM1"), "vrai fichier");
    EXPECT_FALSE(overFile.removeIfOurs());
    EXPECT_EQ(folder.read("COM1"), "vrai fichier");

    ComLink overFolder(folder.path(), "COM3", "/dev/pts/100");
    EXPECT_EQ(overFolder.create(error), ComLink::Outcome::Refused);
    EXPECT_TRUE(fs::is_directory(folder.file("COM3")));
}

TEST(ComLink, FindsNamesThatDifferOnlyInCase) {
    TempFolder folder;
    folder.write("com1", "");
    folder.write("Com1", "");
    folder.write("COM10", "");
    ComLink link(folder.path(), "COM1", "/dev/pts/100");
    EXPECT_EQ(link.namesDifferingInCase(), (std::vector<std::string>{"Com1", "com1"}));
}

}  // namespace
}  // namespace lumiere::sim
