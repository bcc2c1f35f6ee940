// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace lumiere::ui {

// What a view last painted of its model. The view asks after every event of the application and
// repaints only when the model changed: the timers tick a hundred times a second, and most ticks
// change nothing a given view shows.
template <typename Model>
class Painted {
public:
    // True when `now` differs from what was painted last, and always the first time; `now` is
    // then what the view paints.
    bool changed(const Model& now) {
        if (last_ && *last_ == now) return false;
        last_ = now;
        return true;
    }
    bool first() const { return !last_.has_value(); }
    const Model& operator*() const { return *last_; }
    const Model* operator->() const { return &*last_; }

private:
    std::optional<Model> last_;
};

}  // namespace lumiere::ui
