// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/lines.h"
#include "text/trim.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace lumiere {
namespace {

using Lines = std::vector<std::string>;

Lines readAll(const std::string& text, std::size_t maxLength = kMaxLineLength) {
    std::istringstream in(text);
    LineReader reader(in, maxLength);
    Lines lines;
    for (std::string line; reader.next(line);) lines.push_back(line);
    return lines;
}

TEST(LineReaderTest, CrLfAndLoneCrEndALine) {
    const std::pair<std::string, Lines> cases[] = {
        {"", {}},
        {"\r\n", {""}},
        {"a", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\rb\nc", {"a", "b\nc"}},
        {"a\nb\r", {"a\nb"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"\r\r", {"", ""}},
        {"a\n\r\nb", {"a\n", "b"}},
        {"a\r\n\r\n", {"a", ""}},
        {"a\r\n\n", {"a", "\n"}},
        {std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
    };
    for (const auto& [text, lines] : cases) {
        EXPECT_EQ(readAll(text), lines) << testing::PrintToString(text);
    }
}

TEST(LineReaderTest, ATextWithoutAnyCrEndsItsLinesWithLf) {
    const std::pair<std::string, Lines> cases[] = {
        {"a\nb\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"\n", {""}},
        {"\n\nx", {"", "", "x"}},
        {"Animation 1\n\nEND\n", {"Animation 1", "", "END"}},
    };
    for (const auto& [text, lines] : cases) {
        EXPECT_EQ(readAll(text), lines) << testing::PrintToString(text);
    }
    // One CR anywhere, even at the very end, keeps the exact rules for the whole text.
    EXPECT_EQ(readAll("a\nb\nc\r"), Lines{"a\nb\nc"});
    EXPECT_EQ(readAll("abcdef\ngh", 4), (Lines{"abcd", "gh"}));
}

TEST(LineReaderTest, LongLinesKeepTheirBeginning) {
    const std::pair<std::string, Lines> cases[] = {
        {"abcdefgh\r\nxy\rz", {"abcd", "xy", "z"}},
        {"abcd\r\nx", {"abcd", "x"}},
        {"abcde\r\nx", {"abcd", "x"}},
        {"abcd\nef\r\ng", {"abcd", "g"}},
        {"abcdef\rg", {"abcd", "g"}},
        {"abcdefgh", {"abcd"}},
    };
    for (const auto& [text, lines] : cases) {
        EXPECT_EQ(readAll(text, 4), lines) << testing::PrintToString(text);
    }

    const std::string runaway(kMaxLineLength + 10, 'x');
    const Lines lines = readAll(runaway + "\r\nnext\r\n" + runaway);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], runaway.substr(0, kMaxLineLength));
    EXPECT_EQ(lines[1], "next");
    EXPECT_EQ(lines[2].size(), kMaxLineLength);
}

TEST(TrimTest, RemovesOnlyTheBlanksItIsGiven) {
    const std::pair<std::string, std::string> spaces[] = {
        {"  a b  ", "a b"}, {"\ta\t", "\ta\t"}, {"   ", ""}, {"", ""}, {" \t ", "\t"}, {"x", "x"},
    };
    for (const auto& [text, trimmed] : spaces) EXPECT_EQ(trim(text, kSpaces), trimmed);
    EXPECT_EQ(trim(" \t a\tb \t", kSpacesAndTabs), "a\tb");
    EXPECT_EQ(trim("\r\n 3 \f\v", kWhiteSpace), "3");
}

}  // namespace
}  // namespace lumiere
