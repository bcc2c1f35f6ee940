// SPDX-License-Identifier: GPL-3.0-or-later
#include "sequences/sequence_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <future>
#include <sstream>
#include <string>
#include <vector>

#include "support/ordinary_user.h"
#include "support/temp_folder.h"
#include "text/cp1252.h"
#include "text/french.h"
#include "text/number.h"

namespace lumiere {
namespace {

namespace fs = std::filesystem;

template <typename Array>
Array filled(const std::string& text) {
    Array array;
    array.fill(text);
    return array;
}

int animation(const std::string& text, Table& etape) {
    std::istringstream in(text);
    return readAnimation(in, etape);
}
int sequenceSteps(const std::string& text, Table& sequence) {
    std::istringstream in(text);
    return readSequence(in, sequence);
}
int cycle(const std::string& text, Positions& position) {
    std::istringstream in(text);
    return readCycle(in, position);
}

std::string numberedLines(int from, int to, const std::string& prefix = "") {
    std::string text;
    for (int i = from; i <= to; ++i) text += prefix + std::to_string(i) + "\r\n";
    return text;
}

const KnobTops kDesignTops = {2460, 1770, 1860, 1950, 1860, 2580, 2070, 2640, 1920};

using Lines = std::vector<std::string>;

// Elements `from` to `to` of a table, for comparing a whole stretch at once.
template <typename Array>
Lines slice(const Array& array, int from, int to) {
    return Lines(array.begin() + from, array.begin() + to + 1);
}

const std::string kBom = "\xEF\xBB\xBF";

TEST(AnimationFileTest, LinesAreStoredUnchangedFromElementOne) {
    Table etape = filled<Table>("old");
    EXPECT_EQ(animation("  12 ;x  \r\n;note\r\n\r\nEND\r\n", etape), 4);
    EXPECT_EQ(slice(etape, 0, 5), (Lines{"old", "  12 ;x  ", ";note", "", "END", "old"}));

    EXPECT_EQ(animation("x\r\n", etape), 1);  // a shorter file leaves the rest behind it
    EXPECT_EQ(slice(etape, 0, 3), (Lines{"old", "x", ";note", ""}));

    EXPECT_EQ(animation("", etape), 0);
    EXPECT_EQ(etape[1], "x");
}

TEST(AnimationFileTest, LineEndsAndEncodings) {
    const std::pair<std::string, Lines> cases[] = {
        {"a\rb\r", {"a", "b", "old"}},
        {"a\nb\n", {"a", "b", "old"}},  // no CR at all: LF ends the lines
        {"a\nb\r\n", {"a\nb", "old"}},  // a lone line feed does not end a line
        {"Al\xC3\xA9"
         "atoire\r\ncaf\xE9\r\n",
         {fromUtf8("Aléatoire"), "caf\xE9", "old"}},
        {kBom + "caf\xE9\r\n", {"caf\xE9", "old"}},
    };
    for (const auto& [text, lines] : cases) {
        Table etape = filled<Table>("old");
        animation(text, etape);
        EXPECT_EQ(slice(etape, 1, static_cast<int>(lines.size())), lines)
            << testing::PrintToString(text);
    }
}

TEST(AnimationFileTest, StopsAtTheLastElement) {
    Table etape = filled<Table>("old");
    EXPECT_EQ(animation(numberedLines(1, 300), etape), 255);
    EXPECT_EQ(etape[0], "old");
    EXPECT_EQ(slice(etape, 254, 255), (Lines{"254", "255"}));
}

TEST(SequenceFileTest, CommentsAreDroppedAndStepsTrimmed) {
    Table sequence = filled<Table>("old");
    EXPECT_EQ(sequenceSteps(kBom + ";c\r\nAnimation 1\r\n  Al\xC3\xA9"
                                   "atoire  \r\n\r\nEND\r\n",
                            sequence),
              4);
    EXPECT_EQ(slice(sequence, 0, 5),
              (Lines{"old", "Animation 1", fromUtf8("Aléatoire"), "", "END", "old"}));

    EXPECT_EQ(sequenceSteps(" ;x\r\n\tTab \r\n   \r\n;\r\nInt\xC3\xA9rieur -> Ext\xC3\xA9rieur",
                            sequence),
              4);
    EXPECT_EQ(slice(sequence, 1, 5),
              (Lines{";x", "\tTab", "", fromUtf8("Intérieur -> Extérieur"), "old"}));
}

TEST(SequenceFileTest, CommentsDoNotCountTowardsTheLastElement) {
    Table sequence = filled<Table>("old");
    std::string text = numberedLines(1, 10, ";comment ");
    for (int i = 1; i <= 300; ++i) text += "s" + std::to_string(i) + "\r\n;between\r\n";
    EXPECT_EQ(sequenceSteps(text, sequence), 255);
    EXPECT_EQ(sequence[0], "old");
    EXPECT_EQ(slice(sequence, 1, 2), (Lines{"s1", "s2"}));
    EXPECT_EQ(sequence[255], "s255");
}

TEST(CycleFileTest, ReadsUpToElevenLinesFromElementZero) {
    Positions position = filled<Positions>("old");
    EXPECT_EQ(cycle(numberedLines(1, 13), position), 11);
    EXPECT_EQ(slice(position, 9, 10), (Lines{"10", "11"}));

    position = filled<Positions>("old");
    EXPECT_EQ(cycle("5\r\n6", position), 2);
    EXPECT_EQ(slice(position, 0, 2), (Lines{"5", "6", "old"}));
}

TEST(CycleFileTest, FormatsTheKnobTopsOnePerLine) {
    const std::string text = formatCycle(kDesignTops);
    EXPECT_EQ(text, "2460\r\n1770\r\n1860\r\n1950\r\n1860\r\n2580\r\n2070\r\n2640\r\n1920\r\n");
    Positions position = filled<Positions>("old");
    EXPECT_EQ(cycle(text, position), 9);
    for (int i = 0; i < kStrips; ++i) EXPECT_EQ(readNumber(position[i]), kDesignTops[i]) << i;
    EXPECT_EQ(position[9], "old");

    KnobTops tops = kDesignTops;
    tops[0] = 1685.5f;
    tops[8] = -15;
    const std::string fractional = formatCycle(tops);
    EXPECT_EQ(fractional.substr(0, 8), "1685.5\r\n");
    EXPECT_EQ(fractional.substr(fractional.size() - 5), "-15\r\n");
}

TEST(SequenceFilesOnDiskTest, LoadsOnlyRegularFiles) {
    TempFolder folder;
    folder.write("a.txt", "one\r\n  two  \r\n");
    fs::create_directory(folder.file("dir"));
    ASSERT_EQ(::mkfifo(folder.file("fifo").c_str(), 0600), 0);

    Table etape = filled<Table>("old");
    Table sequence = filled<Table>("old");
    Positions position = filled<Positions>("old");
    EXPECT_EQ(loadAnimation(folder.file("a.txt"), etape), 0);
    EXPECT_EQ(etape[2], "  two  ");
    EXPECT_EQ(loadSequence(folder.file("a.txt"), sequence), 0);
    EXPECT_EQ(sequence[2], "two");
    EXPECT_EQ(loadCycle(folder.file("a.txt"), position), 0);
    EXPECT_EQ(position[1], "  two  ");

    const std::pair<std::string, int> failures[] = {
        {"missing.txt", ENOENT}, {"dir", EISDIR}, {"fifo", kNotRegularFile}};
    for (const auto& [name, error] : failures) {
        const std::string path = folder.file(name);
        Table etapeAfter = etape, sequenceAfter = sequence;
        Positions positionAfter = position;
        auto loads = std::async(std::launch::async, [&] {
            return std::array<int, 3>{loadAnimation(path, etapeAfter),
                                      loadSequence(path, sequenceAfter),
                                      loadCycle(path, positionAfter)};
        });
        if (loads.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            ADD_FAILURE() << name << " blocks the load";
            const int unblock = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
            loads.wait();
            if (unblock >= 0) ::close(unblock);
            continue;
        }
        EXPECT_EQ(loads.get(), (std::array<int, 3>{error, error, error})) << name;
        EXPECT_EQ(etapeAfter, etape) << name;
        EXPECT_EQ(sequenceAfter, sequence) << name;
        EXPECT_EQ(positionAfter, position) << name;
    }
}

bool leftTemporaryFiles(const std::string& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind(".lumiere-", 0) == 0) return true;
    }
    return false;
}

TEST(SequenceFilesOnDiskTest, SaveCycleReplacesTheFileInOneStep) {
    TempFolder folder;
    const std::string expected = formatCycle(kDesignTops);
    EXPECT_EQ(saveCycle(folder.file("new.txt"), kDesignTops), 0);
    EXPECT_EQ(folder.read("new.txt"), expected);

    folder.write("old.txt", std::string(500, 'x'));
    EXPECT_EQ(saveCycle(folder.file("old.txt"), kDesignTops), 0);
    EXPECT_EQ(folder.read("old.txt"), expected);
    EXPECT_FALSE(leftTemporaryFiles(folder.path()));
}

TEST(SequenceFilesOnDiskTest, AFailedSaveKeepsTheOldFile) {
    TempFolder folder;
    EXPECT_NE(saveCycle(folder.file("nowhere/c.txt"), kDesignTops), 0);
    fs::create_directory(folder.file("dir"));
    folder.write("dir/inside.txt", "keep");
    EXPECT_NE(saveCycle(folder.file("dir"), kDesignTops), 0);
    EXPECT_EQ(folder.read("dir/inside.txt"), "keep");

    // A file size limit makes the write itself fail, even for root.
    folder.write("c.txt", "old");
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit tiny = saved;
    tiny.rlim_cur = 8;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const int error = saveCycle(folder.file("c.txt"), kDesignTops);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_NE(error, 0);
    EXPECT_EQ(folder.read("c.txt"), "old");

    // A folder the user may not write to.
    ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
    EXPECT_EQ(test::asOrdinaryUser([&] {
                  EXPECT_EQ(saveCycle(folder.file("c.txt"), kDesignTops), EACCES);
                  return 0;
              }),
              0);
    ::chmod(folder.path().c_str(), 0700);
    EXPECT_EQ(folder.read("c.txt"), "old");
    EXPECT_FALSE(leftTemporaryFiles(folder.path()));
    EXPECT_FALSE(leftTemporaryFiles(folder.file("dir")));
}

TEST(FindCycleFileTest, PrefersTheExactNameThenIgnoresLetterCase) {
    struct Case {
        std::vector<std::string> files;
        std::string name;
        std::string found;
    };
    const Case cases[] = {
        {{"cycle_1.txt"}, "cycle_1", "cycle_1.txt"},
        {{"Cycle_1.txt"}, "cycle_1", "Cycle_1.txt"},
        {{"cycle_1.TXT"}, "CYCLE_1", "cycle_1.TXT"},
        {{"CYCLE_1.TXT", "cycle_1.txt", "Cycle_1.Txt"}, "cycle_1", "cycle_1.txt"},
        {{"cycle_10.txt", "cycle_1", "cycle_1.txt.bak"}, "cycle_1", ""},
        {{}, "cycle_1", ""},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        for (const std::string& file : c.files) folder.write(file, "1\r\n");
        EXPECT_EQ(findCycleFile(folder.path(), c.name), c.found.empty() ? "" : folder.file(c.found))
            << c.name << " among " << testing::PrintToString(c.files);
    }
}

}  // namespace
}  // namespace lumiere
