#include "text/lines.h"

namespace lumiere {

LineReader::LineReader(std::istream& in, std::size_t maxLength)
    : buf_(in.rdbuf()), maxLength_(maxLength) {}

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

bool LineReader::next(std::string& line) {
    line.clear();
    if (buf_ == nullptr) return false;
    using Traits = std::streambuf::traits_type;
    int c = buf_->sbumpc();
    if (Traits::eq_int_type(c, Traits::eof())) return false;
    bool cut = false;
    for (; !Traits::eq_int_type(c, Traits::eof()); c = buf_->sbumpc()) {
        if (c == '\r') {
            if (buf_->sgetc() == '\n') buf_->sbumpc();
            break;
        }
        if (line.size() < maxLength_)
            line.push_back(Traits::to_char_type(c));
        else
            cut = true;
    }
    if (cut) dropIncompleteCharacter(line);
    return true;
}

std::vector<std::string> readLines(std::istream& in, std::size_t maxLines) {
    std::vector<std::string> lines;
    LineReader reader(in);
    std::string line;
    while (lines.size() < maxLines && reader.next(line)) lines.push_back(line);
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

std::string_view trimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

}  // namespace lumiere
