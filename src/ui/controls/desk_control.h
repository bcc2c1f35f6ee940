// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Base of every control drawn on Lumière's windows. It takes the mouse events over its area (so a
// movement over a control on the desk goes to that control, not to the desk) and forwards them as
// the handlers expect them (ui/controls/mouse_args.h). Qt's implicit grab keeps the movements with
// the control under which a button went down until the last button comes up. A double click is
// one click followed by a double-click event that no handler takes: its second press raises no
// mouse-down and no click.

#include <QWidget>
#include <functional>

#include "ui/controls/mouse_args.h"

namespace lumiere::ui {

class DeskControl : public QWidget {
    Q_OBJECT

public:
    explicit DeskControl(QWidget* parent);

    std::function<void(const MouseArgs&)> onMouseDown;
    std::function<void(const MouseArgs&)> onMouseMove;
    std::function<void()> onClick;  // left button pressed and released over the control

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool leftDown_ = false;
};

}  // namespace lumiere::ui
