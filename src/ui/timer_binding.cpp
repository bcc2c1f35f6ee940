// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/timer_binding.h"

#include <cmath>

namespace lumiere::ui {

TimerBinding::TimerBinding(const Timer& model, std::function<void()> tick)
    : model_(model), ticker_(std::move(tick)) {}

void TimerBinding::refresh() {
    const bool ticking = model_.enabled && model_.interval > 0;
    if (!ticking) {
        if (ticker_.isActive()) ticker_.stop();
        return;
    }
    if (!ticker_.isActive() || ticker_.interval() != model_.interval) {
        ticker_.start(model_.interval);
    }
}

WakeBinding::WakeBinding(std::function<std::optional<double>()> wakeAt, std::function<double()> now,
                         std::function<void()> wake)
    : wakeAt_(std::move(wakeAt)), now_(std::move(now)) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, std::move(wake));
}

void WakeBinding::refresh() {
    const std::optional<double> due = wakeAt_();
    if (!due) {
        timer_.stop();
        armedFor_.reset();
        return;
    }
    if (timer_.isActive() && armedFor_ == due) return;
    armedFor_ = due;
    // One millisecond late rather than early: an early call would only be re-armed.
    const double ms = std::ceil((*due - now_()) * 1000.0);
    timer_.start(ms <= 0 ? 0 : static_cast<int>(ms) + 1);
}

}  // namespace lumiere::ui
