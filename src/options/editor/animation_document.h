// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The steps of an animation file as the editor shows and changes them, and the bytes they are
// written as.
//
// A step read from the file keeps its line: as long as it sends the byte it sent when read, it
// is written back exactly as it was (its "&H" spelling, its blanks, a text that is not a number,
// a value outside 0–255, its own line end). A new step, or one that sends another byte, is
// written as a decimal number. A document whose steps are the file's own, in the same order, is
// written as the very bytes it was read from; any other is written with "END" after its last
// step, the file's "END" line and everything after it being kept byte for byte.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/animation_lines.h"

namespace lumiere {

// The player's table holds 255 steps.
inline constexpr int kMaxAnimationSteps = 255;
inline constexpr int kLamps = 8;

struct Step {
    std::shared_ptr<const FileLine> line;  // the file's line it comes from; null for a new step
    int value = 0;                         // the pattern byte, 0–255

    // Written as the file's line.
    bool kept() const { return line && line->byte == value; }
    bool operator==(const Step& other) const { return line == other.line && value == other.value; }
};

// Column 0 is the desk's first lamp (leftmost), which shows bit 7; column 7 shows bit 0. On the
// controller, bit k drives output k + 1: column c drives output 8 − c.
constexpr int bitOfColumn(int column) {
    return 7 - column;
}
constexpr bool lit(int value, int column) {
    return (value >> bitOfColumn(column)) & 1;
}

class AnimationDocument {
public:
    AnimationDocument() = default;
    // The document of a file's bytes (empty for a file that does not exist yet).
    explicit AnimationDocument(std::string_view bytes);

    const std::vector<Step>& steps() const { return steps_; }
    std::vector<Step>& steps() { return steps_; }
    int size() const { return static_cast<int>(steps_.size()); }

    // What the file is written as.
    std::string bytes() const;
    // The etape texts from entry 1 that an "Animation" button reads from those bytes.
    std::vector<std::string> playerLines() const;

    // The decimal text a new or changed step is written as.
    static std::string decimal(int value);

private:
    std::string original_;  // the bytes the document was read from
    std::vector<Step> read_;
    std::vector<Step> steps_;
    std::string tail_;
    bool endsWithEnd_ = false;
    std::string lineEnd_ = "\r\n";
};

}  // namespace lumiere
