// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/notice_board.h"

#include <string_view>

#include "model/form1.h"

namespace lumiere::ui {

void NoticeBoard::said(const std::string& notice, double now, const std::string& clock) {
    std::string_view rest = notice;
    while (!rest.empty()) {
        const std::size_t cut = rest.find(kNoticeSeparator);
        const std::string_view one = rest.substr(0, cut);
        rest = cut == std::string_view::npos ? std::string_view{}
                                             : rest.substr(cut + kNoticeSeparator.size());
        if (one.empty()) continue;
        entries_.push_back({std::string(one), now, clock});
        if (entries_.size() > kHistory) entries_.pop_front();
    }
}

std::vector<std::string> NoticeBoard::shown(double now) const {
    std::vector<std::string> lines;
    for (auto it = entries_.rbegin(); it != entries_.rend() && lines.size() < kShown; ++it) {
        // The newest always; those before it while they are recent enough to be read.
        if (!lines.empty() && now - it->at >= kReadSeconds) break;
        lines.push_back(it->text);
    }
    return lines;
}

std::vector<std::string> NoticeBoard::history() const {
    std::vector<std::string> lines;
    for (const Entry& entry : entries_) lines.push_back(entry.clock + "  " + entry.text);
    return lines;
}

}  // namespace lumiere::ui
