// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A periodic tick on a kernel timer (timerfd): the period is kept by the kernel on an exact grid
// in microseconds, where a QTimer rounds every wait to whole milliseconds and so makes the
// intervals saw between 10 and 11 ms. Ticks missed while the window was busy are not made up:
// one tick follows, as with any window timer.

#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace lumiere::ui {

class PeriodicTicker {
public:
    explicit PeriodicTicker(std::function<void()> tick);
    ~PeriodicTicker();
    PeriodicTicker(const PeriodicTicker&) = delete;
    PeriodicTicker& operator=(const PeriodicTicker&) = delete;

    // Starts, or restarts, the period from now.
    void start(int milliseconds);
    void stop();
    bool isActive() const { return active_; }
    int interval() const { return interval_; }
    // How many times start() has run: each one restarts the countdown.
    int starts() const { return starts_; }

private:
    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> tick_;
    bool active_ = false;
    int interval_ = 0;
    int starts_ = 0;
};

}  // namespace lumiere::ui
