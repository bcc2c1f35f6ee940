#pragma once
// Line rules of Lumière's text files: CR LF or a lone CR ends a line, a lone LF stays inside the
// line, and a last line without an end is still a line. Files are written with CR LF after every
// line, the last one included.

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace lumiere {

// Lines longer than this keep only their beginning: no line of a pattern, sequence or cycle file
// means anything past it, and a runaway line must not fill the memory or the status line.
inline constexpr std::size_t kMaxLineLength = 64 * 1024;

class LineReader {
public:
    explicit LineReader(std::istream& in, std::size_t maxLength = kMaxLineLength);
    // Reads the next line into `line`; false when the input is exhausted.
    bool next(std::string& line);

private:
    std::streambuf* buf_;
    std::size_t maxLength_;
};

// At most `maxLines` lines from the start of the input; reading stops there.
std::vector<std::string> readLines(std::istream& in, std::size_t maxLines);

// Every line followed by CR LF.
std::string joinLines(const std::vector<std::string>& lines);

// The text without the leading and trailing spaces (only the space character, as in the files).
std::string_view trimSpaces(std::string_view text);

}  // namespace lumiere
