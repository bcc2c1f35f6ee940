// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/animation_document.h"

#include <sstream>

#include "sequences/sequence_files.h"

namespace lumiere {
namespace {

// Appends lines one after the other, giving each the end it needs so that the player reads the
// same lines back: a line that had no end (the file's last) gets one when something follows it,
// and a lone CR followed by a line that starts with LF becomes CR LF (the reader would otherwise
// take the pair as one end and lose the line's LF).
class LineWriter {
public:
    explicit LineWriter(std::string_view lineEnd) : lineEnd_(lineEnd) {}

    void add(std::string_view bytes, std::string_view end) {
        flushEnd(bytes);
        out_ += bytes;
        pending_ = end;
    }
    // Bytes kept as they are, which start at a line's beginning.
    void addRaw(std::string_view bytes) {
        if (bytes.empty()) return;
        flushEnd(bytes);
        out_ += bytes;
        pending_ = {};
        started_ = false;
    }
    std::string finish() {
        out_ += pending_;
        return std::move(out_);
    }

private:
    void flushEnd(std::string_view next) {
        if (started_ && pending_.empty()) {
            out_ += lineEnd_;
        } else if (pending_ == "\r" && !next.empty() && next.front() == '\n') {
            out_ += "\r\n";
        } else {
            out_ += pending_;
        }
        started_ = true;
    }

    std::string_view lineEnd_;
    std::string out_;
    std::string_view pending_;
    bool started_ = false;
};

}  // namespace

AnimationDocument::AnimationDocument(std::string_view bytes) : original_(bytes) {
    SplitAnimation split = splitAnimation(bytes);
    for (auto& line : split.steps) {
        const int value = line->byte;
        read_.push_back({std::move(line), value});
    }
    steps_ = read_;
    tail_ = std::move(split.tail);
    endsWithEnd_ = split.endsWithEnd;
    lineEnd_ = std::move(split.lineEnd);
}

std::string AnimationDocument::decimal(int value) {
    return std::to_string(value);
}

std::string AnimationDocument::bytes() const {
    if (steps_ == read_) return original_;
    LineWriter out(lineEnd_);
    for (const Step& step : steps_) {
        if (step.kept()) {
            out.add(step.line->bytes, step.line->end);
        } else {
            out.add(decimal(step.value), lineEnd_);  // copied at once: the view may end here
        }
    }
    if (!endsWithEnd_) out.add("END", lineEnd_);
    out.addRaw(tail_);
    return out.finish();
}

std::vector<std::string> AnimationDocument::playerLines() const {
    Table etape;
    std::istringstream in(bytes());
    const int n = readAnimation(in, etape);
    return std::vector<std::string>(etape.begin() + 1, etape.begin() + 1 + n);
}

}  // namespace lumiere
