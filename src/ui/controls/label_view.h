// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A label of the model: caption, colours, border. Lamp indicators are labels too.

#include "model/controls.h"
#include "ui/controls/desk_control.h"
#include "ui/controls/painted.h"

namespace lumiere::ui {

class LabelView : public DeskControl {
    Q_OBJECT

public:
    LabelView(const Label& model, QWidget* parent);

    // Follows the model; repaints only when something shown changed.
    void refresh();
    // The label grows to the right to show its whole caption, as an auto-sized label does.
    void setAutoSize(bool autoSize) { autoSize_ = autoSize; }
    // At most this many pixels wide when auto-sized; longer captions are cut with "…".
    void setMaxWidth(int pixels) { maxWidth_ = pixels; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Label& model_;
    Painted<Label> shown_;
    bool autoSize_ = false;
    int maxWidth_ = 0;
};

}  // namespace lumiere::ui
