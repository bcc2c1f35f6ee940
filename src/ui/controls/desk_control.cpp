#include "ui/controls/desk_control.h"

#include <QMouseEvent>

#include "ui/qt_bridge.h"

namespace lumiere::ui {
namespace {

int buttonCode(Qt::MouseButtons buttons) {
    int code = 0;
    if (buttons & Qt::LeftButton) code |= 1;
    if (buttons & Qt::RightButton) code |= 2;
    if (buttons & Qt::MiddleButton) code |= 4;
    return code;
}

int shiftCode(Qt::KeyboardModifiers modifiers) {
    int code = 0;
    if (modifiers & Qt::ShiftModifier) code |= 1;
    if (modifiers & Qt::ControlModifier) code |= 2;
    if (modifiers & Qt::AltModifier) code |= 4;
    return code;
}

MouseArgs argsOf(const QMouseEvent* event, int button) {
    const QPointF p = event->position();
    return {button, shiftCode(event->modifiers()), toTwips(p.x()), toTwips(p.y())};
}

}  // namespace

DeskControl::DeskControl(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setCursor(Qt::ArrowCursor);
}

void DeskControl::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton) leftDown_ = true;
    if (onMouseDown) onMouseDown(argsOf(event, buttonCode(event->button())));
}

void DeskControl::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (onMouseMove) onMouseMove(argsOf(event, buttonCode(event->buttons())));
}

void DeskControl::mouseDoubleClickEvent(QMouseEvent* event) {
    // Qt would hand the second press to mousePressEvent; the desk's handlers never see it.
    event->accept();
}

void DeskControl::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton || !leftDown_) return;
    leftDown_ = false;
    if (onClick && rect().contains(event->position().toPoint())) onClick();
}

}  // namespace lumiere::ui
