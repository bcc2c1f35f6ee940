// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Binds the model's timers to periodic tickers. A ticker is touched only when the model's state
// differs from it: re-setting an unchanged interval would restart the countdown, and a pointer
// moving over the desk (which rewrites the player's interval every time) would then freeze the
// effect. An interval of 0 or less means enabled but not ticking.

#include <QTimer>
#include <functional>
#include <optional>

#include "model/controls.h"
#include "ui/periodic_ticker.h"

namespace lumiere::ui {

class TimerBinding {
public:
    TimerBinding(const Timer& model, std::function<void()> tick);
    void refresh();
    const PeriodicTicker& ticker() const { return ticker_; }

private:
    const Timer& model_;
    PeriodicTicker ticker_;
};

// Calls the sequence runner (or an option) back when it is due. `now` is the clock it reads.
class WakeBinding {
public:
    WakeBinding(std::function<std::optional<double>()> wakeAt, std::function<double()> now,
                std::function<void()> wake);
    void refresh();

private:
    std::function<std::optional<double>()> wakeAt_;
    std::function<double()> now_;
    QTimer timer_;
    std::optional<double> armedFor_;
};

}  // namespace lumiere::ui
