// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/lines.h"

#include <algorithm>

namespace lumiere {
namespace {

// A cut line must not end inside a UTF-8 character, or the whole line would no longer read as
// UTF-8: drop the bytes of a last character left incomplete.
void dropIncompleteCharacter(std::string& line) {
    std::size_t continuation = 0;
    while (continuation < 3 && continuation < line.size() &&
           (static_cast<unsigned char>(line[line.size() - 1 - continuation]) & 0xC0) == 0x80) {
        ++continuation;
    }
    if (continuation == line.size()) return;
    const auto lead = static_cast<unsigned char>(line[line.size() - 1 - continuation]);
    const std::size_t length = (lead >= 0xF0 && lead <= 0xF4)   ? 4
                               : (lead >= 0xE0 && lead <= 0xEF) ? 3
                               : (lead >= 0xC2 && lead <= 0xDF) ? 2
                                                                : 1;
    if (length > continuation + 1) line.resize(line.size() - continuation - 1);
}

}  // namespace

LineReader::LineReader(std::istream& in, std::size_t maxLength)
    : buf_(in.rdbuf()), maxLength_(maxLength) {}

bool LineReader::fill() {
    if (exhausted_ || buf_ == nullptr) return false;
    char chunk[16 * 1024];
    const std::streamsize n = buf_->sgetn(chunk, sizeof chunk);
    if (n <= 0) {
        exhausted_ = true;
        return false;
    }
    // Drop the lines already handed out before growing, so memory follows the current line.
    if (pos_ > 0 && pos_ >= text_.size() / 2) {
        text_.erase(0, pos_);
        pos_ = 0;
    }
    text_.append(chunk, static_cast<std::size_t>(n));
    return true;
}

std::size_t LineReader::find(char c, std::size_t from) {
    for (;;) {
        const std::size_t at = text_.find(c, from);
        if (at != std::string::npos) return at;
        const std::size_t searched = text_.size() - pos_;
        if (!fill()) return std::string::npos;
        from = pos_ + searched;  // fill() may have moved the consumed bytes out
    }
}

LineReader::LineEnds LineReader::ends() {
    if (!decided_) {
        decided_ = true;
        ends_ = find('\r', pos_) == std::string::npos ? LineEnds::Lf : LineEnds::CrLfOrCr;
    }
    return ends_;
}

bool LineReader::next(std::string& line) {
    line.clear();
    const LineEnds ends = this->ends();
    if (pos_ >= text_.size() && !fill()) return false;
    const std::size_t found = find(ends == LineEnds::Lf ? '\n' : '\r', pos_);
    const std::size_t stop = found == std::string::npos ? text_.size() : found;
    const std::size_t length = stop - pos_;
    line.assign(text_, pos_, std::min(length, maxLength_));
    if (length > maxLength_) dropIncompleteCharacter(line);
    pos_ = std::min(stop + 1, text_.size());
    if (ends == LineEnds::CrLfOrCr && found != std::string::npos) {
        if (pos_ >= text_.size()) fill();
        if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    }
    return true;
}

}  // namespace lumiere
