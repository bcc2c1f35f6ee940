// SPDX-License-Identifier: GPL-3.0-or-later
// param.ini on arbitrary bytes: a profile serializes back to its exact bytes, and writing the port
// number and the desk picture changes nothing but their entries (or adds them), reads back what was
// written and keeps every other line and line end.

#include <optional>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "settings/profile.h"

namespace lumiere::fuzz {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::size_t kHuge = static_cast<std::size_t>(-1);

struct Line {
    std::string_view text;
    std::string_view end;
};

// The lines of a profile: CR LF, a lone CR or a lone LF ends a line.
std::vector<Line> splitLines(std::string_view bytes) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t stop = start;
        while (stop < bytes.size() && bytes[stop] != '\r' && bytes[stop] != '\n') ++stop;
        std::size_t next = stop;
        if (next < bytes.size()) {
            ++next;
            if (bytes[stop] == '\r' && next < bytes.size() && bytes[next] == '\n') ++next;
        }
        lines.push_back({bytes.substr(start, stop - start), bytes.substr(stop, next - stop)});
        start = next;
    }
    return lines;
}

std::string_view trimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool sameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The value of the first `key` entry of the first `section`, read the way param.ini is documented:
// a section runs from its "[name]" line to the next one, ";" starts a comment, blanks and tabs
// around names and values and one pair of matching quotes around a value do not count.
std::optional<std::string_view> lookUp(const std::vector<Line>& lines, std::string_view section,
                                       std::string_view key) {
    bool inside = false;
    for (const Line& line : lines) {
        const std::string_view text = trimBlanks(line.text);
        const auto close = text.find(']');
        if (text.size() >= 2 && text.front() == '[' && close != std::string_view::npos) {
            if (inside) return std::nullopt;
            inside = sameLetters(trimBlanks(text.substr(1, close - 1)), section);
            continue;
        }
        if (!inside || text.empty() || text.front() == ';') continue;
        const auto eq = line.text.find('=');
        if (eq == std::string_view::npos) continue;
        if (!sameLetters(trimBlanks(line.text.substr(0, eq)), key)) continue;
        std::string_view value = trimBlanks(line.text.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        return value;
    }
    return std::nullopt;
}

// Lines the two writes may replace or add: any "COM=" or "valeur=" line, wherever it stands, and
// the two section headers. Every other line must come through unchanged.
bool writable(std::string_view text) {
    if (text == "[Port]" || text == "[Table]") return true;
    const auto eq = text.find('=');
    if (eq == std::string_view::npos) return false;
    const std::string_view key = trimBlanks(text.substr(0, eq));
    return sameLetters(key, "COM") || sameLetters(key, "valeur");
}

std::vector<Line> keptLines(std::string_view bytes) {
    std::vector<Line> kept;
    for (const Line& line : splitLines(bytes)) {
        if (!writable(line.text)) kept.push_back(line);
    }
    return kept;
}

// A value from the input in letters and digits, which read() gives back unchanged.
std::string valueFrom(std::string_view bytes) {
    static constexpr std::string_view kAlphabet =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string value;
    for (char c : bytes.substr(0, 40)) value += kAlphabet[static_cast<unsigned char>(c) % 62];
    return value;
}

}  // namespace
}  // namespace lumiere::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lumiere;
    using namespace lumiere::fuzz;
    const std::string_view bytes = asText(data, size);

    Profile profile = Profile::parse(bytes);
    FUZZ_CHECK(profile.serialize() == bytes);

    const bool bom = bytes.substr(0, kBom.size()) == kBom;
    const std::size_t skip = bom ? kBom.size() : 0;
    const auto beforeLines = splitLines(bytes.substr(skip));

    // Reading finds the documented entry and cuts the value, nothing else.
    const std::string port = profile.read("Port", "COM", kHuge);
    FUZZ_CHECK(port == lookUp(beforeLines, "Port", "COM").value_or(""));
    FUZZ_CHECK(profile.read("Table", "valeur", kHuge) ==
               lookUp(beforeLines, "Table", "valeur").value_or(""));
    FUZZ_CHECK(profile.read("Port", "COM", 4) == port.substr(0, 4));
    FUZZ_CHECK(profile.read("port", "com", kHuge) == port);

    const std::string com = valueFrom(bytes.substr(0, size / 2));
    const std::string picture = valueFrom(bytes.substr(size / 2));
    profile.write("Port", "COM", com);
    profile.write("Table", "valeur", picture);
    const std::string after = profile.serialize();
    FUZZ_CHECK(Profile::parse(after).serialize() == after);

    const Profile reread = Profile::parse(after);
    FUZZ_CHECK(reread.read("Port", "COM", kHuge) == com);
    FUZZ_CHECK(reread.read("Table", "valeur", kHuge) == picture);

    // The byte-order mark stays; the other lines keep their text and end, in order. Only a last
    // line without an end gets one when a line is added after it.
    FUZZ_CHECK((std::string_view(after).substr(0, kBom.size()) == kBom) == bom);
    const std::string_view body = std::string_view(after).substr(skip);
    const auto afterLines = splitLines(body);
    FUZZ_CHECK(lookUp(afterLines, "Port", "COM") == com);
    FUZZ_CHECK(lookUp(afterLines, "Table", "valeur") == picture);
    FUZZ_CHECK(afterLines.size() >= beforeLines.size());
    FUZZ_CHECK(afterLines.size() <= beforeLines.size() + 4);  // two sections and two entries

    const auto before = keptLines(bytes.substr(skip));
    const auto kept = keptLines(body);
    FUZZ_CHECK(kept.size() == before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        FUZZ_CHECK(kept[i].text == before[i].text);
        FUZZ_CHECK(kept[i].end == before[i].end ||
                   (before[i].end.empty() && kept[i].end == "\r\n"));
    }
    // A profile that ended without a line end keeps it so unless a line came after it.
    if (!beforeLines.empty() && beforeLines.back().end.empty() &&
        afterLines.size() == beforeLines.size()) {
        FUZZ_CHECK(afterLines.back().end.empty());
    }
    return 0;
}
