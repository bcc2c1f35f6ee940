// SPDX-License-Identifier: GPL-3.0-or-later
// Sequence files chosen in the open dialog of "Lancer  Séquence": garbage, huge files, odd line
// ends and mixed encodings load within the table's limits and the runner plays through them one
// slice at a time; files that cannot be read start nothing and change nothing.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>

#include "model/mouse.h"
#include "support/hostile_input.h"
#include "support/ordinary_user.h"
#include "support/runner_driver.h"
#include "text/cp1252.h"
#include "text/french.h"
#include "text/trim.h"

namespace lumiere {
namespace {

using test::AppRig;
using test::runUntil;

constexpr int kSteps = kTableSize - 1;
constexpr double kSlice = 5;  // the speed slider's value at start-up

// The steps a sequence file holds: its lines without comments, spaces trimmed.
std::vector<std::string> expectedSteps(const std::string& bytes) {
    std::vector<std::string> steps;
    for (const std::string& line : test::expectedLines(bytes, std::string::npos)) {
        const std::string text = decodeFileText(line);
        if (!text.empty() && text.front() == ';') continue;
        steps.emplace_back(trim(text, kSpaces));
        if (steps.size() == static_cast<std::size_t>(kSteps)) break;
    }
    return steps;
}

// Loads a sequence through the dialog and the button; the bytes the click read from files.
long long launch(AppRig& rig, const std::string& name, const std::string& bytes) {
    rig.folder.write(name, bytes);
    rig.platform.openAnswers.push_back(rig.folder.file(name));
    return test::bytesReadDuring([&] { rig->Command11_Click(9); });
}

// Plays `count` slices and returns what the status label showed at each step.
std::vector<std::string> playSlices(AppRig& rig, int count) {
    std::vector<std::string> shown;
    for (int i = 0; i < count; ++i) {
        runUntil(rig, rig.platform.seconds);
        shown.push_back(rig.form().Label5.caption);
        rig.platform.seconds += kSlice;
    }
    return shown;
}

struct HostileFile {
    const char* what;
    std::string bytes;
};

TEST(HostileSequenceFiles, LoadWithinTheTableAndTheRunnerPlaysThroughThem) {
    const HostileFile files[] = {
        {"every byte value", test::allByteValues()},
        {"random bytes", test::randomBytes(1 << 20, 0xC0FFEE)},
        {"one 1 MB line", std::string(1 << 20, 'z')},
        {"no END", "Chennillard\r\n\r\n  pause  \r\n"},
        {"CR only",
         "Aller simple\r;note\r\rAl\xC3\xA9"
         "atoire\r"},
        {"LF only", "Chennillard\nAller simple\n;note\n\n  pause  \n"},
        {"UTF-8 and Windows-1252 lines",
         "Int\xC3\xA9rieur -> Ext\xC3\xA9rieur\r\nInt\xE9rieur -> Ext\xE9rieur\r\n"
         "\xEF\xBB\xBF; a comment after a byte-order mark\r\n\xC3(\r\n  Double Chennillard \r\n"},
        {"empty", ""},
    };
    for (const auto& [what, bytes] : files) {
        AppRig rig;
        rig.loadAndSwitchOn();
        launch(rig, "full.txt", test::repeatedLines("old", kSteps));

        const long long read = launch(rig, "hostile.txt", bytes);
        EXPECT_LE(read, test::kBoundedLoad) << what;
        EXPECT_EQ(rig.form().status.notice, "") << what;
        ASSERT_TRUE(rig->runner().running()) << what;

        const auto& sequence = rig.values().sequence;
        test::expectTableBounds(sequence, what);
        const auto steps = expectedSteps(bytes);
        for (std::size_t k = 1; k <= static_cast<std::size_t>(kSteps); ++k) {
            ASSERT_EQ(sequence[k], k <= steps.size() ? steps[k - 1] : "old")
                << what << ", element " << k;
        }

        const auto shown = playSlices(rig, 12);
        for (std::size_t k = 1; k <= shown.size(); ++k) {
            EXPECT_EQ(shown[k - 1], sequence[k]) << what << ", slice " << k;
        }
        EXPECT_TRUE(rig->runner().running()) << what;
        test::expectOneByteFramePerTick(rig, 20, what);
    }
}

TEST(HostileSequenceFiles, StepsInEitherEncodingClickTheirButtons) {
    AppRig rig;
    rig.loadAndSwitchOn();
    launch(rig, "mix.txt",
           "Int\xC3\xA9rieur -> Ext\xC3\xA9rieur\r\nExt\xE9rieur -> Int\xE9rieur\r\n"
           "Al\xC3\xA9"
           "atoire\rAller simple\n\r\n");
    std::vector<int> pressed;
    for (int slice = 0; slice < 4; ++slice) {
        playSlices(rig, 1);
        pressed.push_back(-1);
        for (int b = 0; b < kButtons; ++b) {
            if (rig.form().Command11[b].italic) pressed.back() = b;
        }
    }
    // The last line ends with a lone LF before its CR LF: it is no caption and changes nothing.
    EXPECT_EQ(pressed, (std::vector<int>{3, 4, 5, 5}));
}

TEST(HostileSequenceFiles, A50MegabyteFileIsReadOnlyAsFarAsTheTableReaches) {
    AppRig rig;
    rig.loadAndSwitchOn();
    const std::string block = test::repeatedLines("pause", 100000);
    test::writeRepeated(rig.folder.file("big.txt"), block, 50u << 20);
    rig.platform.openAnswers.push_back(rig.folder.file("big.txt"));
    const long long read = test::bytesReadDuring([&] { rig->Command11_Click(9); });
    EXPECT_LT(read, 1 << 20);
    test::expectTableBounds(rig.values().sequence, "50 MB");
    for (int k = 1; k <= kSteps; ++k) ASSERT_EQ(rig.values().sequence[k], "pause") << k;
    EXPECT_EQ(playSlices(rig, 3), (std::vector<std::string>{"pause", "pause", "pause"}));
}

// Steps that look like cycle steps but name nothing usable: the knobs stay, the status bar names
// the file that was looked for, and the run goes on.
TEST(HostileSequenceFiles, CycleStepsNamingNoUsableFileLeaveTheKnobsAndTheRunGoesOn) {
    AppRig rig;
    rig.loadAndSwitchOn();
    ::mkdir(rig.folder.file("cycle_dir.txt").c_str(), 0755);
    ASSERT_EQ(::mkfifo(rig.folder.file("cycle_fifo.txt").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("/dev/zero", rig.folder.file("cycle_zero.txt").c_str()), 0);
    const std::string longName = "cycle_" + std::string(70000, 'x');
    const std::vector<std::string> steps = {
        "cycle", "cycle_dir", "cycle_fifo", "cycle_zero", "cycle_\xFF\xFE", "a/cycle", longName};
    std::string file;
    for (const auto& step : steps) file += step + "\r\n";
    launch(rig, "cycles.txt", file);

    std::array<Twips, kStrips> tops{};
    for (int i = 0; i < kStrips; ++i) tops[i] = rig.form().potar[i].geo.top;
    for (const auto& step : steps) {
        playSlices(rig, 1);
        const std::string shownStep = step.substr(0, kMaxLineLength);
        EXPECT_EQ(rig.form().Label5.caption, shownStep);
        const std::string notice = rig.form().status.notice;
        EXPECT_NE(notice.find(fromUtf8("Cycle non appliqué")), std::string::npos) << step;
        EXPECT_NE(notice.find(shownStep.substr(0, 40)), std::string::npos) << step;
        for (int i = 0; i < kStrips; ++i) EXPECT_EQ(rig.form().potar[i].geo.top, tops[i]);
        EXPECT_TRUE(rig->runner().running()) << step;
    }
}

// A step holding a NUL byte names no file: "notes<NUL>cycle" must not apply the file "notes".
TEST(HostileSequenceFiles, ACycleStepHoldingANulByteAppliesNoOtherFile) {
    AppRig rig;
    rig.loadAndSwitchOn();
    rig.folder.write("notes", "1000\r\n1000\r\n");
    launch(rig, "nul.txt", std::string("notes\0cycle\r\n", 13));
    playSlices(rig, 1);
    EXPECT_EQ(rig.form().potar[0].geo.top, 2460);
    EXPECT_NE(rig.form().status.notice.find(fromUtf8("Cycle non appliqué")), std::string::npos);
}

TEST(UnreadableSequenceFiles, StartNoRunChangeNoStepAndNameTheFile) {
    struct Case {
        const char* what;
        std::function<void(const std::string&)> make;
    };
    const Case cases[] = {
        {"missing", [](const std::string&) {}},
        {"a folder", [](const std::string& path) { ::mkdir(path.c_str(), 0755); }},
        {"a FIFO", [](const std::string& path) { ::mkfifo(path.c_str(), 0644); }},
        {"a link to a device",
         [](const std::string& path) { ::symlink("/dev/zero", path.c_str()); }},
    };
    for (const Case& c : cases) {
        AppRig rig;
        rig.loadAndSwitchOn();
        launch(rig, "good.txt", "Chennillard\r\nEND\r\n");
        rig->Command11_MouseDown(9, mouse::kRight, 0, 0, 0);  // stops the run
        runUntil(rig, rig.platform.seconds + kSlice);
        ASSERT_FALSE(rig->runner().running());
        const auto before = rig.values().sequence;

        const std::string path = rig.folder.file("bad.txt");
        c.make(path);
        rig.platform.openAnswers.push_back(path);
        rig->Command11_Click(9);
        EXPECT_FALSE(rig->runner().running()) << c.what;
        EXPECT_EQ(rig.values().sequence, before) << c.what;
        EXPECT_EQ(rig.form().status.notice.rfind(path + " : ", 0), 0u)
            << c.what << ": " << rig.form().status.notice;
        EXPECT_GT(rig.form().status.notice.size(), path.size() + 3) << c.what;
    }
}

TEST(UnreadableSequenceFiles, AFileWithoutReadPermissionStartsNoRun) {
    AppRig rig;
    ASSERT_EQ(::chmod(rig.folder.path().c_str(), 0755), 0);
    rig.loadAndSwitchOn();
    rig.folder.write("locked.txt", "Chennillard\r\n");
    ASSERT_EQ(::chmod(rig.folder.file("locked.txt").c_str(), 0), 0);
    rig.platform.openAnswers.push_back(rig.folder.file("locked.txt"));
    EXPECT_EQ(test::asOrdinaryUser([&] {
                  rig->Command11_Click(9);
                  EXPECT_FALSE(rig->runner().running());
                  EXPECT_EQ(rig.values().sequence[1], "");
                  EXPECT_NE(rig.form().status.notice.find(describeError(EACCES)),
                            std::string::npos);
                  return 0;
              }),
              0);
}

}  // namespace
}  // namespace lumiere
