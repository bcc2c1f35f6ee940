// SPDX-License-Identifier: GPL-3.0-or-later
// The document against the player's own reader: every shipped file and every odd file comes back
// byte for byte, and after any edit the file written plays exactly the steps the grid shows.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "editor/animation_document.h"
#include "sequences/sequence_files.h"
#include "text/lines.h"

namespace lumiere {
namespace {

std::vector<std::string> readByPlayer(const std::string& bytes) {
    Table etape;
    std::istringstream in(bytes);
    const int n = readAnimation(in, etape);
    return {etape.begin() + 1, etape.begin() + 1 + n};
}

// The steps the player plays from a file: its lines up to "END", at most 255.
std::vector<std::string> playedSteps(const std::string& bytes) {
    std::vector<std::string> lines = readByPlayer(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == "END") lines.resize(i);
    }
    return lines;
}

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

struct OddFile {
    const char* what;
    std::string bytes;
};

std::vector<OddFile> oddFiles() {
    std::string random(1 << 16, '\0');
    std::mt19937 engine(0x5EED);
    for (char& c : random) c = static_cast<char>(engine() & 0xFF);
    std::string many;
    for (int i = 0; i < 300; ++i) many += std::to_string(i) + "\r\n";
    return {
        {"empty", ""},
        {"no final line end", "1\r\n2\r\n4"},
        {"LF only", "1\n2\n4\nEND\n"},
        {"LF only, no END, no final end", "1\n&H0F\n300"},
        {"lone CR", "1\r2\r\n4\rEND\r"},
        {"lone LF inside a CR LF line", "1\r\n\n2\r\n3\n4\r\nEND\r\n"},
        {"text after END", "3\r\nEND\r\nnotes du spectacle\r\n12\r\n"},
        {"UTF-8 text and a byte-order mark",
         "\xEF\xBB\xBF"
         "12\r\n\xC3\xA9toile\r\n\xE9toile\r\n  &h1f \r\nEND\r\n"},
        {"out of range and not numbers", "300\r\n-5\r\n12.5\r\n1E9\r\nabc\r\n\r\nend\r\nEND\r\n"},
        {"300 lines without END", many},
        {"a line past the length limit", std::string(kMaxLineLength + 10, '7') + "\r\n1\r\n"},
        {"random bytes", random},
    };
}

TEST(AnimationDocument, ShippedFilesComeBackByteForByte) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(LUMIERE_ASSETS_DIR)) {
        if (entry.path().extension() != ".txt" && entry.path().extension() != ".ini") continue;
        const std::string bytes = fileBytes(entry.path());
        const AnimationDocument document(bytes);
        EXPECT_EQ(document.bytes(), bytes) << entry.path();
        EXPECT_EQ(document.playerLines(), readByPlayer(bytes)) << entry.path();
        ++files;
    }
    EXPECT_GE(files, 5);
    const AnimationDocument two(
        fileBytes(std::filesystem::path(LUMIERE_ASSETS_DIR) / "animation2.txt"));
    ASSERT_EQ(two.size(), 16);
    EXPECT_EQ(two.steps()[3].value, 15);  // &H0F
    EXPECT_EQ(two.steps()[3].line->bytes, "&H0F");
}

TEST(AnimationDocument, StepsAreWhatThePlayerReads) {
    for (const OddFile& file : oddFiles()) {
        const AnimationDocument document(file.bytes);
        EXPECT_EQ(document.bytes(), file.bytes) << file.what;
        const std::vector<std::string> played = playedSteps(file.bytes);
        ASSERT_EQ(document.size(), static_cast<int>(played.size())) << file.what;
        for (int i = 0; i < document.size(); ++i) {
            const Step& step = document.steps()[static_cast<std::size_t>(i)];
            EXPECT_EQ(step.line->text, played[static_cast<std::size_t>(i)]) << file.what << i;
            EXPECT_EQ(step.value, playedByte(played[static_cast<std::size_t>(i)]).byte);
        }
    }
    const AnimationDocument odd(oddFiles()[8].bytes);  // out of range and not numbers
    const std::vector<std::pair<int, LineKind>> expected = {
        {255, LineKind::OutOfRange}, {0, LineKind::OutOfRange}, {12, LineKind::Number},
        {255, LineKind::OutOfRange}, {0, LineKind::NotANumber}, {0, LineKind::NotANumber},
        {0, LineKind::NotANumber}};
    ASSERT_EQ(odd.size(), 7);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(odd.steps()[i].value, expected[i].first) << i;
        EXPECT_EQ(odd.steps()[i].line->kind, expected[i].second) << i;
    }
}

// After an edit the player reads the grid's steps, then END; every line the edit did not touch
// keeps its bytes, and what followed END is still there.
void expectPlaysGrid(const AnimationDocument& document, const std::string& what) {
    const std::string bytes = document.bytes();
    std::vector<std::string> expected;
    for (const Step& step : document.steps()) {
        expected.push_back(step.kept() ? step.line->text : AnimationDocument::decimal(step.value));
    }
    const std::vector<std::string> lines = readByPlayer(bytes);
    ASSERT_GE(lines.size(), expected.size()) << what;
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + expected.size()), expected)
        << what;
    if (expected.size() < 255) {
        ASSERT_GT(lines.size(), expected.size()) << what;
        EXPECT_EQ(lines[expected.size()], "END") << what;
    }
    for (const Step& step : document.steps()) {
        if (step.kept()) {
            EXPECT_NE(bytes.find(step.line->bytes), std::string::npos) << what;
        }
    }
    // Read again, the document has the same steps.
    const AnimationDocument again(bytes);
    ASSERT_EQ(again.size(), document.size()) << what;
    for (int i = 0; i < again.size(); ++i) {
        EXPECT_EQ(again.steps()[static_cast<std::size_t>(i)].value,
                  document.steps()[static_cast<std::size_t>(i)].value)
            << what << " step " << i;
    }
}

TEST(AnimationDocument, EditedFilesPlayWhatTheGridShows) {
    for (const OddFile& file : oddFiles()) {
        if (AnimationDocument document(file.bytes); document.size() > 0) {  // one step changed
            document.steps()[0].value ^= 0x81;
            expectPlaysGrid(document, std::string(file.what) + ", changed");
        }
        {  // steps in reverse order, and a new one at the end
            AnimationDocument document(file.bytes);
            auto& steps = document.steps();
            std::reverse(steps.begin(), steps.end());
            if (steps.size() < 255) steps.push_back({nullptr, 7});
            expectPlaysGrid(document, std::string(file.what) + ", reversed");
        }
        {  // every step removed
            AnimationDocument document(file.bytes);
            document.steps().clear();
            document.steps().push_back({nullptr, 1});
            expectPlaysGrid(document, std::string(file.what) + ", replaced");
        }
    }
}

TEST(AnimationDocument, KeepsSpellingLineEndsAndWhatFollowsEnd) {
    {  // a changed step is decimal with CR LF; the others and the tail keep their bytes
        AnimationDocument document("&H0F\r\n300\r\nabc\r\nEND\r\nnotes\r\n");
        document.steps()[2].value = 9;
        EXPECT_EQ(document.bytes(), "&H0F\r\n300\r\n9\r\nEND\r\nnotes\r\n");
        document.steps()[2].value = 0;  // back to what the text line plays: the text again
        EXPECT_EQ(document.bytes(), "&H0F\r\n300\r\nabc\r\nEND\r\nnotes\r\n");
        document.steps()[1].value = 127;
        document.steps()[1].value = 255;  // the byte "300" plays
        document.steps().push_back({nullptr, 3});
        EXPECT_EQ(document.bytes(), "&H0F\r\n300\r\nabc\r\n3\r\nEND\r\nnotes\r\n");
    }
    {  // a file without CR gets LF lines, so its other lines are not joined; END is added
        AnimationDocument document("1\n2");
        document.steps().push_back({nullptr, 4});
        EXPECT_EQ(document.bytes(), "1\n2\n4\nEND\n");
    }
    {  // a lone CR before a line that starts with LF becomes CR LF
        AnimationDocument document("1\r\n\n2\r\n3\rEND\r\n");
        ASSERT_EQ(document.size(), 3);
        std::swap(document.steps()[0], document.steps()[2]);  // "3" and its lone CR before "\n2"
        EXPECT_EQ(document.bytes(), "3\r\n\n2\r\n1\r\nEND\r\n");
        EXPECT_EQ(readByPlayer(document.bytes()),
                  (std::vector<std::string>{"3", "\n2", "1", "END"}));
    }
    {  // the 256th line is not read by the player: END is put before the lines it never reads
        std::string many;
        for (int i = 0; i < 300; ++i) many += "1\r\n";
        AnimationDocument document(many);
        ASSERT_EQ(document.size(), 255);
        document.steps().erase(document.steps().begin());
        const std::string bytes = document.bytes();
        EXPECT_EQ(bytes.size(), many.size() + 2);  // one "1\r\n" less, "END\r\n" more
        EXPECT_EQ(readByPlayer(bytes)[254], "END");
    }
}

}  // namespace
}  // namespace lumiere
