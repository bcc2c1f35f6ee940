// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/number.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <optional>
#include <ostream>
#include <string>

namespace lumiere {
namespace {

constexpr std::size_t kAnyEnd = static_cast<std::size_t>(-1);

struct ScanCase {
    std::string text;
    double value;
    std::size_t end;  // kAnyEnd: not checked
    bool found;
};

void PrintTo(const ScanCase& c, std::ostream* out) {
    *out << testing::PrintToString(c.text) << " reads " << c.value;
}

// The test's name in the listing: the text itself, spelled with letters, digits and underscores
// ("12abc", "minus0dot5", "tab_lf_5").
std::string caseName(const testing::TestParamInfo<ScanCase>& info) {
    static const std::pair<char, const char*> kSpelled[] = {
        {'-', "minus"}, {'+', "plus"}, {'.', "dot"}, {',', "comma"}, {'&', "amp"},
        {' ', "_"},     {'\t', "tab"}, {'\n', "lf"}, {'\r', "cr"}};
    std::string name;
    for (const char c : info.param.text) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            name += c;
            continue;
        }
        const auto* spelled = std::find_if(std::begin(kSpelled), std::end(kSpelled),
                                           [c](const auto& entry) { return entry.first == c; });
        name += spelled != std::end(kSpelled) ? spelled->second : "x";
    }
    return (name.empty() ? "empty" : name) + "_" + std::to_string(info.index);
}

class ScanNumberTest : public testing::TestWithParam<ScanCase> {};

TEST_P(ScanNumberTest, ReadsTheLeadingNumber) {
    const ScanCase& c = GetParam();
    const NumberScan scan = scanNumber(c.text);
    EXPECT_DOUBLE_EQ(scan.value, c.value);
    EXPECT_EQ(scan.found, c.found);
    if (c.end != kAnyEnd) {
        EXPECT_EQ(scan.end, c.end);
    }
    EXPECT_DOUBLE_EQ(readNumber(c.text), c.value);
}

INSTANTIATE_TEST_SUITE_P(Decimal, ScanNumberTest,
                         testing::Values(ScanCase{"12", 12, 2, true}, ScanCase{"0", 0, 1, true},
                                         ScanCase{"+7", 7, 2, true},
                                         ScanCase{"-0.5", -0.5, 4, true},
                                         ScanCase{"1.2.3", 1.2, 3, true},
                                         ScanCase{".5", 0.5, 2, true}, ScanCase{"5.", 5, 2, true},
                                         ScanCase{"12abc", 12, 2, true},
                                         ScanCase{"3,5", 3, 1, true}, ScanCase{"5-3", 5, 1, true},
                                         ScanCase{"0x10", 0, 1, true}, ScanCase{"007", 7, 3, true}),
                         caseName);

INSTANTIATE_TEST_SUITE_P(
    Blanks, ScanNumberTest,
    testing::Values(ScanCase{"1 2", 12, 3, true}, ScanCase{" \t\n-\n5", -5, 6, true},
                    ScanCase{"- 5", -5, 3, true}, ScanCase{"1 . 5", 1.5, 5, true},
                    ScanCase{"1 E 2", 100, 5, true}, ScanCase{"  42  volts", 42, 4, true},
                    ScanCase{"1 2 ", 12, 3, true}, ScanCase{"12\r3", 12, 2, true},
                    ScanCase{"\r5", 0, kAnyEnd, false}, ScanCase{"1\n2", 12, 3, true}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    Exponent, ScanNumberTest,
    testing::Values(ScanCase{"1E3", 1000, 3, true}, ScanCase{"2D2", 200, 3, true},
                    ScanCase{"2d2", 200, 3, true}, ScanCase{"1e-2", 0.01, 4, true},
                    ScanCase{"1D-1", 0.1, 4, true}, ScanCase{"1.5E+1", 15, 6, true},
                    ScanCase{"1e2x", 100, 3, true}, ScanCase{"1e1.5", 10, 3, true},
                    ScanCase{"1E", 1, kAnyEnd, true}, ScanCase{"1E+", 1, kAnyEnd, true},
                    ScanCase{"1Ex", 1, kAnyEnd, true}, ScanCase{"1E-x", 1, kAnyEnd, true}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    HexAndOctal, ScanNumberTest,
    testing::Values(ScanCase{"&H1F", 31, 4, true}, ScanCase{"&hff", 255, 4, true},
                    ScanCase{"&HaB", 171, 4, true}, ScanCase{"&H1FG", 31, 4, true},
                    ScanCase{"&O17", 15, 4, true}, ScanCase{"&o7", 7, 3, true},
                    ScanCase{"&O178", 15, 4, true}, ScanCase{"&O8", 0, kAnyEnd, false},
                    ScanCase{"&H", 0, kAnyEnd, false}, ScanCase{"&x", 0, kAnyEnd, false},
                    ScanCase{"&", 0, kAnyEnd, false}, ScanCase{"&12", 0, kAnyEnd, false}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    NoNumber, ScanNumberTest,
    testing::Values(ScanCase{"", 0, kAnyEnd, false}, ScanCase{"abc", 0, kAnyEnd, false},
                    ScanCase{"-", 0, kAnyEnd, false}, ScanCase{".", 0, kAnyEnd, false},
                    ScanCase{"+.", 0, kAnyEnd, false}, ScanCase{"--5", 0, kAnyEnd, false},
                    ScanCase{"+-1", 0, kAnyEnd, false}, ScanCase{" \t\n ", 0, kAnyEnd, false},
                    ScanCase{"E5", 0, kAnyEnd, false}, ScanCase{"x12", 0, kAnyEnd, false}),
    caseName);

TEST(ScanNumberHugeTest, ManyDigitsAndBlanksDoNotBreakTheReading) {
    const std::string digits(100000, '9');
    const NumberScan many = scanNumber(digits + "x");
    EXPECT_TRUE(many.found);
    EXPECT_EQ(many.end, digits.size());
    EXPECT_TRUE(std::isinf(many.value) || many.value > 1e300);

    EXPECT_TRUE(std::isinf(readNumber("1E999999999")));
    EXPECT_GT(readNumber("1E999999999"), 0);
    EXPECT_EQ(readNumber("1E-999999999"), 0.0);
    EXPECT_TRUE(std::isinf(readNumber("1E" + digits)));
    EXPECT_NEAR(readNumber("0." + std::string(100000, '0') + "1"), 0.0, 1e-300);
    EXPECT_NEAR(readNumber("0." + std::string(100000, '3')), 1.0 / 3, 1e-12);

    const std::string blanks(5000, ' ');
    const NumberScan spaced = scanNumber(blanks + "7" + blanks + "3" + blanks);
    EXPECT_EQ(spaced.value, 73);
    EXPECT_EQ(spaced.end, 2 * blanks.size() + 2);
}

TEST(ParseWholeNumberTest, AcceptsOnlyANumberWithBlanksAround) {
    const std::pair<std::string, std::optional<double>> cases[] = {
        {"3", 3},
        {"3 ", 3},
        {" 12 ", 12},
        {"\t5\t", 5},
        {"1 2", std::nullopt},
        {"1\t2", std::nullopt},
        {"- 4", std::nullopt},
        {"&H 10", std::nullopt},
        {"12abc", std::nullopt},
        {"2.5", 2.5},
        {"-4", -4},
        {"&H10", 16},
        {"3x", std::nullopt},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {"abc", std::nullopt},
        {"-", std::nullopt},
        {"3,5", std::nullopt},
        {"1.2.3", std::nullopt},
        {"x3", std::nullopt},
        {"3\r", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(parseWholeNumber(text), expected) << '"' << text << '"';
    }
}

TEST(RoundHalfEvenTest, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, double> cases[] = {
        {12.5, 12}, {13.5, 14}, {-2.5, -2}, {2.4999, 2},  {0.5, 0},     {1.5, 2},
        {-1.5, -2}, {2.6, 3},   {-0.4, 0},  {254.5, 254}, {255.5, 256}, {7, 7},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(roundHalfEven(value), expected) << value;
    }
}

TEST(FormatNumberTest, WholeNumbersHaveNoDecimalPart) {
    const std::pair<double, std::string> cases[] = {
        {12, "12"},     {-2, "-2"},   {0, "0"},       {1685.5, "1685.5"}, {12.25, "12.25"},
        {-0.5, "-0.5"}, {0.1, "0.1"}, {2460, "2460"}, {255, "255"},       {1e6, "1000000"},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(formatNumber(value), expected) << value;
    }
}

TEST(FormatNumberTest, TextReadsBackAsTheSameNumber) {
    // Knob tops and countdowns need no more than seven significant digits.
    for (double value : {1e20, -1e20, 1e-7, 123456789.125, 1.0 / 3, 123456789012345.0, 1685.25,
                         std::numeric_limits<double>::max()}) {
        const std::string text = formatNumber(value);
        ASSERT_FALSE(text.empty()) << value;
        EXPECT_NEAR(readNumber(text), value, std::fabs(value) * 1e-6) << text;
        ASSERT_TRUE(parseWholeNumber(text).has_value()) << text;
    }
    EXPECT_EQ(formatNumber(123456789012345.0), "123456789012345");
}

}  // namespace
}  // namespace lumiere
