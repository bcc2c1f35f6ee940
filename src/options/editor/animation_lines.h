// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An animation file cut into its lines exactly as the sequence player reads it, each line keeping
// its own bytes and its own line end, so that the file can be written back byte for byte.
//
// The player's rules (text/lines.h): CR LF or a lone CR ends a line and a lone LF stays inside
// it, unless the file holds no CR at all, where LF ends the lines; a last line without an end is
// still a line. The player reads lines 1 to 255 into `etape` and stops at the first "END".

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lumiere {

// What a line of the file plays as.
enum class LineKind {
    Number,      // a number the player sends as it is (rounded to the nearest byte)
    OutOfRange,  // a number below 0 or above 255: the player sends the nearest byte
    NotANumber,  // no leading number: the player sends 0
};

// One line of the file as it was read, never changed.
struct FileLine {
    std::string bytes;  // the line without its end, as on disk
    std::string end;    // "\r\n", "\r", "\n" or "" (the last line of a file without a final end)
    std::string text;   // what the player keeps in etape (Windows-1252, cut at the line limit)
    int byte = 0;       // the pattern the player sends for it
    LineKind kind = LineKind::Number;
};

// The byte the player sends for an etape text, and what kind of line gives it.
struct PlayedByte {
    int byte = 0;
    LineKind kind = LineKind::Number;
};
PlayedByte playedByte(std::string_view text);

struct SplitAnimation {
    // The lines the player reads as steps: up to the first "END" or the last line, at most 255.
    std::vector<std::shared_ptr<const FileLine>> steps;
    // The "END" line when the player reaches one, and every byte after it; when the file has more
    // than 255 lines and none of the first 255 is "END", the lines past 255 (the player never
    // reads them). Kept byte for byte.
    std::string tail;
    bool endsWithEnd = false;  // the tail starts with the "END" line
    // The line end of new lines: CR LF, or LF in a file that holds no CR at all (one CR there
    // would make the player read the whole file by the CR rules and join its lines).
    std::string lineEnd = "\r\n";
};

SplitAnimation splitAnimation(std::string_view bytes);

}  // namespace lumiere
