// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/animation_lines.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "sequences/sequence_files.h"
#include "text/number.h"

namespace lumiere {
namespace {

struct RawLine {
    std::string_view bytes;
    std::string_view end;
};

// The same cuts as LineReader, without its length limit: every byte belongs to one line.
std::vector<RawLine> rawLines(std::string_view bytes, bool crRules) {
    std::vector<RawLine> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t stop = bytes.find(crRules ? '\r' : '\n', pos);
        if (stop == std::string_view::npos) {
            lines.push_back({bytes.substr(pos), {}});
            break;
        }
        std::size_t next = stop + 1;
        if (crRules && next < bytes.size() && bytes[next] == '\n') ++next;
        lines.push_back({bytes.substr(pos, stop - pos), bytes.substr(stop, next - stop)});
        pos = next;
    }
    return lines;
}

}  // namespace

PlayedByte playedByte(std::string_view text) {
    const NumberScan scan = scanNumber(text);
    if (!scan.found || std::isnan(scan.value)) return {0, LineKind::NotANumber};
    const double clamped = std::clamp(scan.value, 0.0, 255.0);
    const int byte = static_cast<int>(roundHalfEven(clamped));
    return {byte, clamped == scan.value ? LineKind::Number : LineKind::OutOfRange};
}

SplitAnimation splitAnimation(std::string_view bytes) {
    SplitAnimation split;
    const bool crRules = bytes.find('\r') != std::string_view::npos;
    if (!crRules && !bytes.empty()) split.lineEnd = "\n";

    // The texts come from the reader the "Animation" buttons use, so what a step shows is what
    // the button plays.
    Table etape;
    std::istringstream in{std::string(bytes)};
    const int read = readAnimation(in, etape);
    const std::vector<RawLine> lines = rawLines(bytes, crRules);

    std::size_t n = 0;
    for (; n < lines.size() && n < static_cast<std::size_t>(read); ++n) {
        const std::string& text = etape[n + 1];
        if (text == "END") {
            split.endsWithEnd = true;
            break;
        }
        auto line = std::make_shared<FileLine>();
        line->bytes = lines[n].bytes;
        line->end = lines[n].end;
        line->text = text;
        const PlayedByte played = playedByte(text);
        line->byte = played.byte;
        line->kind = played.kind;
        split.steps.push_back(std::move(line));
    }
    if (n < lines.size()) {
        const std::size_t start = static_cast<std::size_t>(lines[n].bytes.data() - bytes.data());
        split.tail = bytes.substr(start);
    }
    return split;
}

}  // namespace lumiere
