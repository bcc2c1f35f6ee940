// SPDX-License-Identifier: GPL-3.0-or-later
// The light-programme files on arbitrary bytes: animation, sequence and cycle readers store exactly
// the lines the file holds (cut without splitting a UTF-8 character, decoded, commented out and
// trimmed as each kind wants), never more elements than the table takes, and never touch the
// elements the file does not reach. A cycle written by formatCycle reads back as the same tops.

#include <cmath>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "sequences/sequence_files.h"
#include "text/cp1252.h"
#include "text/lines.h"
#include "text/number.h"
#include "text/trim.h"

namespace lumiere::fuzz {
namespace {

const std::string kUntouched = "\x01untouched\x02";

// The lines of a programme file: CR LF or a lone CR ends a line, a lone LF belongs to the line,
// a last line without an end counts. A file without any CR has LF as its line end.
std::vector<std::string_view> splitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    const char end = bytes.find('\r') == std::string_view::npos ? '\n' : '\r';
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t stop = std::min(bytes.find(end, start), bytes.size());
        lines.push_back(bytes.substr(start, stop - start));
        start = stop + 1;
        if (end == '\r' && stop < bytes.size() && start < bytes.size() && bytes[start] == '\n')
            ++start;
    }
    return lines;
}

// What a reader keeps of a line longer than kMaxLineLength: its first kMaxLineLength bytes, less
// a last UTF-8 character the cut left incomplete. Only C2-DF, E0-EF and F0-F4 start a character
// of two, three or four bytes.
std::string cutLine(std::string_view line) {
    if (line.size() <= kMaxLineLength) return std::string(line);
    const std::string_view kept = line.substr(0, kMaxLineLength);
    const auto back = [&](std::size_t i) { return static_cast<unsigned char>(kept.rbegin()[i]); };
    std::size_t continuation = 0;
    while (continuation < 3 && (back(continuation) & 0xC0) == 0x80) ++continuation;
    const unsigned char lead = back(continuation);
    std::size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (length <= continuation + 1) return std::string(kept);
    return std::string(kept.substr(0, kept.size() - continuation - 1));
}

// The texts a reader may store for one line.
using Stored = std::vector<std::string>;

Stored storedLine(std::string_view line) {
    return {cutLine(line)};
}

template <typename Transform>
Stored transformed(const Stored& texts, Transform transform) {
    Stored out;
    for (const std::string& text : texts) out.emplace_back(transform(text));
    return out;
}

bool oneOf(const std::string& value, const Stored& texts) {
    for (const std::string& text : texts) {
        if (value == text) return true;
    }
    return false;
}

template <typename Elements>
Elements untouched() {
    Elements elements;
    elements.fill(kUntouched);
    return elements;
}

template <typename Elements>
void checkUntouchedFrom(const Elements& elements, std::size_t first) {
    for (std::size_t i = first; i < elements.size(); ++i) FUZZ_CHECK(elements[i] == kUntouched);
}

void checkAnimation(std::string_view bytes, const std::vector<Stored>& lines) {
    Table etape = untouched<Table>();
    std::istringstream in{std::string(bytes)};
    const int n = readAnimation(in, etape);
    FUZZ_CHECK(n >= 0 && n <= kTableSize - 1);
    FUZZ_CHECK(static_cast<std::size_t>(n) == std::min<std::size_t>(lines.size(), kTableSize - 1));
    FUZZ_CHECK(etape[0] == kUntouched);
    for (int i = 1; i <= n; ++i) {
        FUZZ_CHECK(etape[i].size() <= kMaxLineLength);
        FUZZ_CHECK(oneOf(etape[i], transformed(lines[i - 1], decodeFileText)));
    }
    checkUntouchedFrom(etape, n + 1);
}

void checkSequence(std::string_view bytes, const std::vector<Stored>& lines) {
    std::vector<Stored> steps;
    for (const Stored& line : lines) {
        const Stored texts = transformed(line, decodeFileText);
        if (!texts[0].empty() && texts[0].front() == ';') continue;  // the cut keeps the start
        steps.push_back(transformed(texts, [](const std::string& t) { return trim(t, kSpaces); }));
    }
    Table sequence = untouched<Table>();
    std::istringstream in{std::string(bytes)};
    const int n = readSequence(in, sequence);
    FUZZ_CHECK(n >= 0 && n <= kTableSize - 1);
    FUZZ_CHECK(static_cast<std::size_t>(n) == std::min<std::size_t>(steps.size(), kTableSize - 1));
    FUZZ_CHECK(sequence[0] == kUntouched);
    for (int i = 1; i <= n; ++i) {
        const std::string& step = sequence[i];
        FUZZ_CHECK(step.size() <= kMaxLineLength);
        FUZZ_CHECK(step.empty() || (step.front() != ' ' && step.back() != ' '));
        FUZZ_CHECK(oneOf(step, steps[i - 1]));
    }
    checkUntouchedFrom(sequence, n + 1);
}

void checkCycle(std::string_view bytes, const std::vector<Stored>& lines) {
    Positions position = untouched<Positions>();
    std::istringstream in{std::string(bytes)};
    const int n = readCycle(in, position);
    FUZZ_CHECK(n >= 0 && n <= kPositionSize);
    FUZZ_CHECK(static_cast<std::size_t>(n) == std::min<std::size_t>(lines.size(), kPositionSize));
    for (int i = 0; i < n; ++i) FUZZ_CHECK(oneOf(position[i], lines[i]));  // no decoding
    checkUntouchedFrom(position, n);
}

void checkReaders(std::string_view bytes) {
    std::vector<Stored> lines;
    for (std::string_view line : splitLines(bytes)) lines.push_back(storedLine(line));
    checkAnimation(bytes, lines);
    checkSequence(bytes, lines);
    checkCycle(bytes, lines);
}

// Nine knob tops from the input bytes, each a float (non-finite ones become 0).
KnobTops topsFrom(std::string_view bytes) {
    KnobTops tops{};
    for (std::size_t k = 0; k < tops.size(); ++k) {
        unsigned char raw[sizeof(Twips)] = {};
        for (std::size_t b = 0; b < sizeof raw; ++b) {
            const std::size_t at = k * sizeof raw + b;
            if (at < bytes.size()) raw[b] = static_cast<unsigned char>(bytes[at]);
        }
        std::memcpy(&tops[k], raw, sizeof raw);
        if (!std::isfinite(tops[k])) tops[k] = 0;
    }
    return tops;
}

void checkCycleRoundTrip(const KnobTops& tops) {
    const std::string text = formatCycle(tops);
    Positions position = untouched<Positions>();
    std::istringstream in(text);
    FUZZ_CHECK(readCycle(in, position) == static_cast<int>(tops.size()));
    checkUntouchedFrom(position, tops.size());
    std::string rebuilt;
    for (std::size_t k = 0; k < tops.size(); ++k) {
        rebuilt += position[k] + "\r\n";
        const auto value = parseWholeNumber(position[k]);
        FUZZ_CHECK(value.has_value());
        FUZZ_CHECK(readNumber(position[k]) == *value);
        const double top = tops[k];
        if (top == std::trunc(top) && std::fabs(top) < 1e15)
            FUZZ_CHECK(*value == top);
        else
            FUZZ_CHECK(std::fabs(*value - top) <= 1e-6 * std::fabs(top));
    }
    FUZZ_CHECK(rebuilt == text);  // nine lines, each ended by CR LF, nothing else
}

}  // namespace
}  // namespace lumiere::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lumiere::fuzz;
    const std::string_view bytes = asText(data, size);
    checkReaders(bytes);
    // A first line longer than the readers keep, ending in the input: the cut falls within the
    // input's first line, or its line end just before or after the limit.
    if (!bytes.empty() && bytes.front() == 'L') {
        std::string longer(lumiere::kMaxLineLength - 8, 'x');
        longer += bytes;
        checkReaders(longer);
    }
    checkCycleRoundTrip(topsFrom(bytes));
    return 0;
}
