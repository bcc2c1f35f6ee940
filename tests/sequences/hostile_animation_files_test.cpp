// SPDX-License-Identifier: GPL-3.0-or-later
// Animation files a user can put beside the program, loaded by the three animation buttons:
// garbage, huge files, odd line ends and mixed encodings are stored line by line within the
// table's limits and then played as pattern bytes; files that cannot be read change nothing.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <future>

#include "support/hostile_input.h"
#include "support/ordinary_user.h"
#include "text/cp1252.h"
#include "text/french.h"

namespace lumiere {
namespace {

using test::AppRig;

constexpr int kSteps = kTableSize - 1;

struct HostileFile {
    const char* what;
    std::string bytes;
};

std::vector<HostileFile> hostileFiles() {
    return {
        {"every byte value", test::allByteValues()},
        {"random bytes", test::randomBytes(1 << 20, 0x5EED)},
        {"one 1 MB line", std::string(1 << 20, '7')},
        {"one 1 MB line of UTF-8",
         [] {
             std::string line;
             for (int i = 0; i < (1 << 19); ++i) line += "\xC3\xA9";
             return line;
         }()},
        {"no END", test::repeatedLines("12", 10)},
        {"CR only", "1\r2\r4\r8\r"},
        {"LF only", "1\n2\n4\n8\n"},
        {"UTF-8 and Windows-1252 lines",
         "&H1F\r\n\xC3\xA9lan 3\r\n\xE9lan 3\r\n\xE2\x82\xAC 9\r\n\x80 9\r\n\xEF\xBB\xBF"
         "7\r\n\xC3\r\nEND\r\n"},
        {"empty", ""},
    };
}

std::string animationFile(int button) {
    return "animation" + std::to_string(button + 1) + ".txt";
}

// Start-up, desk on, and every element of the animation table filled with "old" through the
// button: the hostile file's reach shows against them.
void startWithFullTable(AppRig& rig, int button) {
    rig.loadAndSwitchOn();
    rig.folder.write(animationFile(button), test::repeatedLines("old", kSteps));
    rig->Command11_Click(button);
    rig->Command11_Click(button);  // released again
    ASSERT_EQ(rig.values().etape[kSteps], "old");
}

TEST(HostileAnimationFiles, AreStoredLineByLineWithinTheTableAndPlayedAsPatternBytes) {
    const auto files = hostileFiles();
    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto& [what, bytes] = files[i];
        const int button = static_cast<int>(i % 3);
        AppRig rig;
        startWithFullTable(rig, button);
        rig.folder.write(animationFile(button), bytes);

        const long long read = test::bytesReadDuring([&] { rig->Command11_Click(button); });
        EXPECT_LE(read, test::kBoundedLoad) << what;
        EXPECT_EQ(rig.form().status.notice, "") << what;
        ASSERT_TRUE(rig.form().Command11[button].italic) << what;

        const auto& etape = rig.values().etape;
        test::expectTableBounds(etape, what);
        const auto lines = test::expectedLines(bytes, kSteps);
        for (int k = 1; k <= kSteps; ++k) {
            const std::size_t n = static_cast<std::size_t>(k);
            const std::string expected = n <= lines.size() ? decodeFileText(lines[n - 1]) : "old";
            ASSERT_EQ(etape[k], expected) << what << ", element " << k;
        }
        // Two full passes over the table, wrap-around included.
        test::expectOneByteFramePerTick(rig, 2 * kTableSize + 3, what);
    }
}

TEST(HostileAnimationFiles, UnusualLinesReadAsTheUserWroteThem) {
    AppRig rig;
    rig.loadAndSwitchOn();
    rig.folder.write("animation1.txt",
                     "1\n2\n4\r\xC3\xA9lan\r\xE9lan\r" + std::string(70000, '9') + "\r\n3\r\n");
    rig->Command11_Click(0);
    const auto& etape = rig.values().etape;
    EXPECT_EQ(etape[1], "1\n2\n4");  // a lone LF stays inside the line
    EXPECT_EQ(etape[2], "\xE9lan");  // UTF-8 converted
    EXPECT_EQ(etape[3], "\xE9lan");  // Windows-1252 kept
    EXPECT_EQ(etape[4], std::string(kMaxLineLength, '9'));
    EXPECT_EQ(etape[5], "3");  // the rest of the long line is not a line of its own
    rig.port.clear();
    for (int t = 0; t < 5; ++t) rig->Timer1_Timer();
    // LF is skipped inside a number; text and overflowing numbers go to the nearest byte.
    EXPECT_EQ(rig.port.values(), (std::vector<int>{124, 0, 0, 255, 3}));
}

// A line cut at the length limit ends on a whole character, so it still reads as UTF-8.
TEST(HostileAnimationFiles, ALongUtf8LineCutAtTheLimitIsStillConverted) {
    AppRig rig;
    rig.loadAndSwitchOn();
    std::string euros;
    for (int i = 0; i < 30000; ++i) euros += "\xE2\x82\xAC";
    rig.folder.write("animation1.txt", euros + "\r\n");
    rig->Command11_Click(0);
    const std::string& stored = rig.values().etape[1];
    EXPECT_EQ(stored, std::string(stored.size(), '\x80'));
    EXPECT_EQ(stored.size(), kMaxLineLength / 3);
}

TEST(HostileAnimationFiles, AFileWithoutEndPlaysToElement255AndStartsAgain) {
    AppRig rig;
    rig.loadAndSwitchOn();
    rig.folder.write("animation2.txt", "5\r\n6\r\n");
    rig->Command11_Click(1);
    rig.port.clear();
    for (int t = 0; t < kSteps + 2; ++t) rig->Timer1_Timer();
    const auto frames = rig.port.values();
    ASSERT_EQ(frames.size(), static_cast<std::size_t>(kSteps + 2));
    EXPECT_EQ(frames[0], 5);
    EXPECT_EQ(frames[1], 6);
    EXPECT_EQ(frames[kSteps - 1], 0);  // element 255, empty
    EXPECT_EQ(frames[kSteps], 5);      // element 0 is skipped
    EXPECT_EQ(frames[kSteps + 1], 6);
}

TEST(HostileAnimationFiles, A50MegabyteFileIsReadOnlyAsFarAsTheTableReaches) {
    AppRig rig;
    rig.loadAndSwitchOn();
    std::string block = test::repeatedLines("&HFF", 20000) + test::repeatedLines("3", 1000);
    test::writeRepeated(rig.folder.file("animation3.txt"), block, 50u << 20);
    ASSERT_EQ(std::filesystem::file_size(rig.folder.file("animation3.txt")), 50u << 20);

    // 255 lines of a CR LF file: reading stops within the first chunk.
    const long long read = test::bytesReadDuring([&] { rig->Command11_Click(2); });
    EXPECT_LT(read, 1 << 20);
    const auto& etape = rig.values().etape;
    test::expectTableBounds(etape, "50 MB");
    for (int k = 1; k <= kSteps; ++k) ASSERT_EQ(etape[k], "&HFF") << k;
    test::expectOneByteFramePerTick(rig, 300, "50 MB");
    ASSERT_FALSE(rig.port.values().empty());
    EXPECT_EQ(rig.port.values().back(), 255);
}

// After hostile files in all three animation slots, every effect button still sends exactly one
// pattern byte per player tick.
TEST(HostileAnimationFiles, EveryEffectKeepsSendingOneByteFramePerTick) {
    AppRig rig;
    rig.loadAndSwitchOn();
    rig.folder.write("animation1.txt", test::randomBytes(100000, 7));
    rig.folder.write("animation2.txt", test::allByteValues());
    rig.folder.write("animation3.txt", "-1e999\r\n1e999\r\n&HFFFFFFFFFFFFFFFFFFFF\r\n-&H5\r\n");
    for (int button = 0; button <= 8; ++button) {
        rig->Command11_Click(button);
        ASSERT_EQ(rig.values().choix, button);
        ASSERT_TRUE(rig->show().timer1().enabled) << button;
        test::expectOneByteFramePerTick(rig, 40, "button " + std::to_string(button));
    }
}

// What the player sends for a table that is known to be "5" then "END".
void expectTheOldStepsStillPlay(AppRig& rig, const std::string& what) {
    rig.port.clear();
    for (int t = 0; t < 3; ++t) rig->Timer1_Timer();
    EXPECT_EQ(rig.port.values(), (std::vector<int>{5, 5, 5})) << what;
}

TEST(UnreadableAnimationFiles, LeaveTheTableAsItWasAndSayWhyInFrench) {
    struct Case {
        const char* what;
        std::function<void(const std::string&)> make;
        int error;
    };
    const Case cases[] = {
        {"missing", [](const std::string& path) { ::unlink(path.c_str()); }, ENOENT},
        {"a folder",
         [](const std::string& path) {
             ::unlink(path.c_str());
             ::mkdir(path.c_str(), 0755);
         },
         EISDIR},
        {"a FIFO",
         [](const std::string& path) {
             ::unlink(path.c_str());
             ::mkfifo(path.c_str(), 0644);
         },
         kNotRegularFile},
        {"a link to a device",
         [](const std::string& path) {
             ::unlink(path.c_str());
             ::symlink("/dev/zero", path.c_str());
         },
         kNotRegularFile},
    };
    for (const Case& c : cases) {
        AppRig rig;
        rig.loadAndSwitchOn();
        const std::string path = rig.folder.file("animation1.txt");
        rig.folder.write("animation1.txt", "5\r\nEND\r\n");
        rig->Command11_Click(0);
        rig->Command11_Click(0);
        const auto before = rig.values().etape;
        c.make(path);

        // A pipe or a device must not hold the window: the load gives up at once.
        auto click = std::async(std::launch::async, [&] { rig->Command11_Click(0); });
        if (click.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            ADD_FAILURE() << c.what << " blocks the load";
            const int unblock = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
            click.wait();
            if (unblock >= 0) ::close(unblock);
            continue;
        }
        EXPECT_EQ(rig.values().etape, before) << c.what;
        EXPECT_NE(rig.form().status.notice.find(path + " : " + describeError(c.error)),
                  std::string::npos)
            << c.what << ": " << rig.form().status.notice;
        expectTheOldStepsStillPlay(rig, c.what);
    }
}

TEST(UnreadableAnimationFiles, AFileWithoutReadPermissionIsRefused) {
    AppRig rig;
    ASSERT_EQ(::chmod(rig.folder.path().c_str(), 0755), 0);
    rig.loadAndSwitchOn();
    rig.folder.write("animation1.txt", "5\r\nEND\r\n");
    rig->Command11_Click(0);
    rig->Command11_Click(0);
    const auto before = rig.values().etape;
    rig.folder.write("animation1.txt", "9\r\n");
    ASSERT_EQ(::chmod(rig.folder.file("animation1.txt").c_str(), 0), 0);
    EXPECT_EQ(test::asOrdinaryUser([&] {
                  rig->Command11_Click(0);
                  EXPECT_EQ(rig.values().etape, before);
                  EXPECT_NE(rig.form().status.notice.find(describeError(EACCES)),
                            std::string::npos);
                  expectTheOldStepsStillPlay(rig, "no permission");
                  return 0;
              }),
              0);
}

}  // namespace
}  // namespace lumiere
