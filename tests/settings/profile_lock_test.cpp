// SPDX-License-Identifier: GPL-3.0-or-later
// Two Lumières saving the same param.ini at once, each its own entry in a loop: no save undoes
// the other's. And a lock held too long: nothing is written, and that is said.

#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <gtest/gtest.h>

#include <string>

#include "settings/profile.h"
#include "support/temp_folder.h"
#include "text/french.h"

namespace lumiere {
namespace {

constexpr int kRounds = 150;

// Child: writes [Test] <key>=1..kRounds, each time checking that its last value is still there
// (another process's stale copy written over it would lose it). Exits 1 on a lost change, 2 on
// a save that failed.
[[noreturn]] void saveInALoop(const std::string& path, const std::string& key) {
    for (int round = 1; round <= kRounds; ++round) {
        bool lost = false;
        const int err = updateProfile(path, [&](Profile& profile) {
            const std::string before = profile.read("Test", key, 16);
            lost = round > 1 && before != std::to_string(round - 1);
            profile.write("Test", key, std::to_string(round));
        });
        if (err != 0) ::_exit(2);
        if (lost) ::_exit(1);
        ::usleep(500);  // a person saves now and then, not in a tight loop
    }
    ::_exit(0);
}

TEST(ProfileLock, TwoProgramsSavingAtOnceLoseNoChange) {
    TempFolder folder;
    // A large file makes each read and write long enough for the saves to overlap.
    std::string big = "[Port]\r\nCOM=1\r\n[Notes]\r\n";
    for (int i = 0; i < 5000; ++i) big += "n" + std::to_string(i) + "=une note assez longue\r\n";
    folder.write("param.ini", big);
    const std::string path = folder.file("param.ini");
    pid_t children[2];
    const char* keys[2] = {"A", "B"};
    for (int i = 0; i < 2; ++i) {
        children[i] = ::fork();
        if (children[i] == 0) saveInALoop(path, keys[i]);
    }
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << WEXITSTATUS(status);
    }
    Profile profile;
    ASSERT_EQ(loadProfile(path, profile), 0);
    EXPECT_EQ(profile.read("Test", "A", 16), std::to_string(kRounds));
    EXPECT_EQ(profile.read("Test", "B", 16), std::to_string(kRounds));
    EXPECT_EQ(profile.read("Port", "COM", 16), "1");
}

TEST(ProfileLock, ALockHeldLongerThanASecondWritesNothing) {
    TempFolder folder;
    folder.write("param.ini", "[Port]\r\nCOM=1\r\n");
    const int held = ::open(folder.file("param.ini.lock").c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    const int err = updateProfile(folder.file("param.ini"),
                                  [](Profile& profile) { profile.write("Port", "COM", "2"); });
    EXPECT_EQ(err, kLockBusy);
    EXPECT_NE(profileNotSaved(err).find("un autre Lumi"), std::string::npos);
    EXPECT_EQ(folder.read("param.ini"), "[Port]\r\nCOM=1\r\n");
    ::close(held);
}

}  // namespace
}  // namespace lumiere
