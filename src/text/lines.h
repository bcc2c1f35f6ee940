// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Line rules of Lumière's text files: CR LF or a lone CR ends a line, a lone LF stays inside the
// line, and a last line without an end is still a line. A file that holds no CR at all (as Linux
// editors write them) has LF as its line end instead; a file with a CR anywhere keeps the exact
// rules, so no file written the usual way changes meaning.

#include <cstddef>
#include <istream>
#include <string>

namespace lumiere {

// Lines longer than this keep only their beginning: no line of a pattern, sequence or cycle file
// means anything past it, and a runaway line must not fill the status line.
inline constexpr std::size_t kMaxLineLength = 64 * 1024;

// Reads lines as they are needed. The rule is chosen before the first line: reading goes on
// until the first CR, which in a file written the usual way (CR LF) ends its first line, and
// only a file without any CR is read to its end for that. What is held at once is bounded by the
// stream: the program’s files come through readFile, at most 16 MiB.
class LineReader {
public:
    explicit LineReader(std::istream& in, std::size_t maxLength = kMaxLineLength);
    // Reads the next line into `line`; false when the input is exhausted.
    bool next(std::string& line);

private:
    enum class LineEnds {
        CrLfOrCr,  // CR LF or a lone CR ends a line; a lone LF belongs to it
        Lf,        // LF ends a line (the text holds no CR at all)
    };

    bool fill();
    std::size_t find(char c, std::size_t from);
    LineEnds ends();

    std::streambuf* buf_;
    std::size_t maxLength_;
    std::string text_;     // input read and not yet consumed, from pos_
    std::size_t pos_ = 0;  // start of the next line in text_
    bool exhausted_ = false;
    bool decided_ = false;
    LineEnds ends_ = LineEnds::CrLfOrCr;
};

}  // namespace lumiere
