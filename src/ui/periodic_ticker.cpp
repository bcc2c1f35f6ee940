// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/periodic_ticker.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <cstdint>

namespace lumiere::ui {

PeriodicTicker::PeriodicTicker(std::function<void()> tick) : tick_(std::move(tick)) {
    fd_ = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd_ < 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        std::uint64_t expirations = 0;
        if (::read(fd_, &expirations, sizeof expirations) != sizeof expirations) return;
        if (active_ && tick_) tick_();
    });
}

PeriodicTicker::~PeriodicTicker() {
    notifier_.reset();
    if (fd_ >= 0) ::close(fd_);
}

void PeriodicTicker::start(int milliseconds) {
    if (fd_ < 0 || milliseconds <= 0) return;
    const timespec period{milliseconds / 1000, (milliseconds % 1000) * 1'000'000L};
    const itimerspec schedule{period, period};
    ::timerfd_settime(fd_, 0, &schedule, nullptr);
    active_ = true;
    interval_ = milliseconds;
    ++starts_;
}

void PeriodicTicker::stop() {
    if (fd_ < 0) return;
    const itimerspec off{};
    ::timerfd_settime(fd_, 0, &off, nullptr);
    active_ = false;
}

}  // namespace lumiere::ui
