// SPDX-License-Identifier: GPL-3.0-or-later
// Saving when the disk will not take the new file: "Enregistre cycle" and the settings'
// "Enregistrer" leave the previous file exactly as it was, leave no temporary file behind, and
// tell the user; once there is room again the same click saves.

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/hostile_input.h"
#include "text/cp1252.h"
#include "text/french.h"

namespace lumiere {
namespace {

using test::AppRig;

const std::string kOldCycle = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n";
const std::string kDesignCycle =
    "2460\r\n1770\r\n1860\r\n1950\r\n1860\r\n2580\r\n2070\r\n2640\r\n1920\r\n";
const std::string kOldProfile = "[Port]\r\nCOM=1\r\n[Table]\r\nvaleur=pupitre.bmp\r\n";
const std::string kNewProfile = "[Port]\r\nCOM=4\r\n[Table]\r\nvaleur=pupitre.bmp\r\n";

// "Enregistre cycle" over `path`; whether the status label says it was saved.
bool recordCycle(AppRig& rig, const std::string& path) {
    rig.platform.saveAnswers.push_back(path);
    rig->Command11_Click(11);
    return rig.form().Label5.caption == fromUtf8("Enregistré ");
}

// "Enregistrer" in the settings with port 4.
void savePort4(AppRig& rig) {
    rig->n_param_Click();
    rig->Text1_Change("4");
    rig->Command2_Click();
}

void expectCycleRefused(AppRig& rig, const std::string& path, int error) {
    EXPECT_EQ(rig.form().Label5.caption, fromUtf8("Non enregistré"));
    EXPECT_NE(rig.form().status.notice.find(path + " : " + describeError(error)), std::string::npos)
        << rig.form().status.notice;
}

void expectSettingsRefused(AppRig& rig, int error) {
    EXPECT_NE(rig.form2().error.find(describeError(error)), std::string::npos) << rig.form2().error;
    EXPECT_TRUE(rig.form2().visible);
    // The port still changes for this session.
    EXPECT_EQ(rig->link().portNumber(), 4);
}

TEST(NothingLost, UnderAFileSizeLimitTheCycleFilesStayAsTheyWere) {
    AppRig rig;
    rig->Form_Load();
    rig.folder.write("old.txt", kOldCycle);
    bool saved = true;
    {
        test::FileSizeLimit limit(8);
        ASSERT_TRUE(limit.active());
        saved = recordCycle(rig, rig.folder.file("old.txt"));
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(rig.folder.read("old.txt"), kOldCycle);
    expectCycleRefused(rig, rig.folder.file("old.txt"), EFBIG);
    {
        test::FileSizeLimit limit(8);
        saved = recordCycle(rig, rig.folder.file("new.txt"));
    }
    EXPECT_FALSE(saved);
    EXPECT_FALSE(std::filesystem::exists(rig.folder.file("new.txt")));
    EXPECT_FALSE(test::temporaryFilesLeft(rig.folder.path()));

    EXPECT_TRUE(recordCycle(rig, rig.folder.file("old.txt")));
    EXPECT_EQ(rig.folder.read("old.txt"), kDesignCycle);
}

TEST(NothingLost, UnderAFileSizeLimitParamIniStaysAsItWas) {
    AppRig rig;
    rig->Form_Load();
    {
        test::FileSizeLimit limit(8);
        ASSERT_TRUE(limit.active());
        savePort4(rig);
    }
    EXPECT_EQ(rig.folder.read("param.ini"), kOldProfile);
    EXPECT_FALSE(test::temporaryFilesLeft(rig.folder.path()));
    expectSettingsRefused(rig, EFBIG);

    rig->Command2_Click();
    EXPECT_EQ(rig.form2().error, "");
    EXPECT_FALSE(rig.form2().visible);
    EXPECT_EQ(rig.folder.read("param.ini"), kNewProfile);
}

TEST(NothingLost, OnAFullDiskEveryFileStaysAsItWas) {
    AppRig rig;
    test::TinyDisk disk(rig.folder.file("disque"));
    if (!disk.mounted()) GTEST_SKIP() << "cannot mount a tmpfs here (root only)";
    const std::string folder = disk.folder();
    std::FILE* profile = std::fopen((folder + "/param.ini").c_str(), "wb");
    ASSERT_NE(profile, nullptr);
    std::fputs(kOldProfile.c_str(), profile);
    std::fclose(profile);
    std::FILE* cycle = std::fopen((folder + "/cycle.txt").c_str(), "wb");
    ASSERT_NE(cycle, nullptr);
    std::fputs(kOldCycle.c_str(), cycle);
    std::fclose(cycle);
    // The program runs from the small disk.
    rig.platform.folder = folder;
    rig.app = std::make_unique<Application>(rig.platform, rig.port, rig.options(), rig.config());
    rig->Form_Load();
    ASSERT_EQ(rig->link().portNumber(), 1);
    ASSERT_TRUE(disk.fill());

    EXPECT_FALSE(recordCycle(rig, folder + "/cycle.txt"));
    expectCycleRefused(rig, folder + "/cycle.txt", ENOSPC);
    savePort4(rig);
    expectSettingsRefused(rig, ENOSPC);
    const auto read = [&](const std::string& name) {
        std::ifstream in(folder + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(read("cycle.txt"), kOldCycle);
    EXPECT_EQ(read("param.ini"), kOldProfile);
    EXPECT_FALSE(test::temporaryFilesLeft(folder));

    disk.makeRoom();
    EXPECT_TRUE(recordCycle(rig, folder + "/cycle.txt"));
    EXPECT_EQ(read("cycle.txt"), kDesignCycle);
    rig->Command2_Click();
    EXPECT_EQ(rig.form2().error, "");
    EXPECT_EQ(read("param.ini"), kNewProfile);
}

// A name picked in the save dialog can be a pipe, a device, or a link to one (such as a serial
// port linked beside the program as COM3): the cycle is refused and the node stays what it was.
TEST(NothingLost, ACycleIsNeverSavedOverAPipeOrADevice) {
    AppRig rig;
    rig->Form_Load();
    ASSERT_EQ(::mkfifo(rig.folder.file("fifo").c_str(), 0644), 0);
    std::vector<std::pair<std::string, mode_t>> targets = {{"fifo", S_IFIFO}};
    // Only root can make a device node; the null device is harmless to open.
    if (::mknod(rig.folder.file("lamps").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        ASSERT_EQ(::symlink(rig.folder.file("lamps").c_str(), rig.folder.file("COM3").c_str()), 0);
        targets.emplace_back("COM3", S_IFCHR);
    }
    for (const auto& [name, kind] : targets) {
        const std::string path = rig.folder.file(name);
        EXPECT_FALSE(recordCycle(rig, path)) << name;
        expectCycleRefused(rig, path, kNotRegularFile);
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0) << name;
        EXPECT_EQ(st.st_mode & S_IFMT, kind) << name << " was replaced";
    }
    EXPECT_FALSE(test::temporaryFilesLeft(rig.folder.path()));
}

}  // namespace
}  // namespace lumiere
