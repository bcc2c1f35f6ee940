// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace lumiere {
namespace {

TEST(Cp1252Test, ConvertsBothWays) {
    const std::pair<std::string, std::string> cases[] = {
        {"\xE9", "\xC3\xA9"},      // é
        {"\x80", "\xE2\x82\xAC"},  // €
        {"\x92", "\xE2\x80\x99"},  // ’
        {"\x9C", "\xC5\x93"},      // œ
        {"\xFF", "\xC3\xBF"},      // ÿ
        {"caf\xE9 \x80", "caf\xC3\xA9 \xE2\x82\xAC"},
        {"", ""},
    };
    for (const auto& [cp1252, utf8] : cases) {
        EXPECT_EQ(toUtf8(cp1252), utf8);
        EXPECT_EQ(utf8ToCp1252(utf8), cp1252);
        EXPECT_EQ(fromUtf8(utf8), cp1252);
    }
}

TEST(Cp1252Test, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        const std::string utf8 = toUtf8(one);
        EXPECT_EQ(utf8ToCp1252(utf8), one) << "byte " << b;
        all += one;
    }
    EXPECT_EQ(utf8ToCp1252(toUtf8(all)), all);
}

TEST(Cp1252Test, InvalidUtf8IsRefused) {
    for (const std::string bad :
         {"\xC3", "a\xC3",
          "\xC3"
          "a",
          "\xC0\x80", "\xC1\xBF", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80",
          "\xF5\x80\x80\x80", "\xFF", "\x80", "\xE2\x82", "\xF0\x9F\x98"}) {
        EXPECT_EQ(utf8ToCp1252(bad), std::nullopt) << testing::PrintToString(bad);
        EXPECT_EQ(fromUtf8(bad), bad);
    }
}

TEST(Cp1252Test, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(utf8ToCp1252("\xE2\x86\x92"), "?");  // →
    EXPECT_EQ(utf8ToCp1252("a\xE2\x86\x92"
                           "b"),
              "a?b");
    EXPECT_EQ(utf8ToCp1252("\xF0\x9F\x98\x80!"), "?!");  // an emoji: one character
}

TEST(Cp1252Test, FileTextIsDecodedOnlyWhenItIsUtf8) {
    const std::pair<std::string, std::string> cases[] = {
        {"abc\r\n", "abc\r\n"},
        {"caf\xC3\xA9", "caf\xE9"},
        {"caf\xE9", "caf\xE9"},
        {"\xC3\xA9 \xE9", "\xC3\xA9 \xE9"},  // not valid UTF-8 as a whole
        {"\xEF\xBB\xBF"
         "abc",
         "abc"},
        {"\xEF\xBB\xBF"
         "caf\xC3\xA9",
         "caf\xE9"},
        {"\xEF\xBB\xBF"
         "caf\xE9",
         "caf\xE9"},
        {"", ""},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(decodeFileText(bytes), text) << testing::PrintToString(bytes);
    }
}

}  // namespace
}  // namespace lumiere
