// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/mouse_args.h"

#include <QMouseEvent>

#include "model/mouse.h"
#include "ui/qt_bridge.h"

namespace lumiere::ui {
namespace {

int shiftCode(Qt::KeyboardModifiers modifiers) {
    int code = 0;
    if (modifiers & Qt::ShiftModifier) code |= 1;
    if (modifiers & Qt::ControlModifier) code |= 2;
    if (modifiers & Qt::AltModifier) code |= 4;
    return code;
}

MouseArgs argsOf(const QMouseEvent& event, int button) {
    const QPointF p = event.position();
    return {button, shiftCode(event.modifiers()), toTwips(p.x()), toTwips(p.y())};
}

int buttonCode(Qt::MouseButtons buttons) {
    int code = 0;
    if (buttons & Qt::LeftButton) code |= mouse::kLeft;
    if (buttons & Qt::RightButton) code |= mouse::kRight;
    if (buttons & Qt::MiddleButton) code |= mouse::kMiddle;
    return code;
}

}  // namespace

MouseArgs mouseDownArgs(const QMouseEvent& event) {
    return argsOf(event, buttonCode(event.button()));
}

MouseArgs mouseMoveArgs(const QMouseEvent& event) {
    return argsOf(event, buttonCode(event.buttons()));
}

}  // namespace lumiere::ui
