#pragma once
// Base of every control drawn by Lumière's windows. It takes the mouse events over its area (so a
// movement over a control on the desk goes to that control, not to the desk) and forwards them as
// the handlers expect them: button codes 1 left, 2 right, 4 middle; shift state; twips relative
// to the control. Qt's implicit grab keeps the movements with the control under which a button
// went down until the last button comes up. A double click is one click followed by a
// double-click event that no handler takes: its second press raises no mouse-down and no click.

#include <QWidget>
#include <functional>

#include "model/controls.h"

namespace lumiere::ui {

struct MouseArgs {
    int button = 0;  // the button that changed (down), or the buttons held (move)
    int shift = 0;   // 1 shift, 2 ctrl, 4 alt
    Twips x = 0;
    Twips y = 0;
};

class DeskControl : public QWidget {
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
