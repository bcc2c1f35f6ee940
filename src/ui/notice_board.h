// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the status bar shows of the notices, so that none vanishes before it can be read: each
// notice the model says (the notices of one event come joined by " | ") is kept with the time it
// came; the bar shows the newest first and, under it, those before while they are younger than
// kReadSeconds (corrections of param.ini at start-up all stay in sight), three at most. The newest
// notice stays until another comes. The last kHistory notices, with their times, are there for a
// tooltip. Time is passed in (monotonic seconds).

#include <deque>
#include <string>
#include <vector>

namespace lumiere::ui {

class NoticeBoard {
public:
    static constexpr double kReadSeconds = 8;
    static constexpr std::size_t kShown = 3;
    static constexpr std::size_t kHistory = 12;

    // The model's notice (Windows-1252), when it changed.
    void said(const std::string& notice, double now, const std::string& clock);
    // The notices to show now, newest first.
    std::vector<std::string> shown(double now) const;
    // The recent notices, oldest first, each after the time of day it came.
    std::vector<std::string> history() const;

private:
    struct Entry {
        std::string text;
        double at = 0;
        std::string clock;
    };
    std::deque<Entry> entries_;
};

}  // namespace lumiere::ui
