// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/desk_control.h"

#include <QMouseEvent>

namespace lumiere::ui {

DeskControl::DeskControl(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setCursor(Qt::ArrowCursor);
}

void DeskControl::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton) leftDown_ = true;
    if (onMouseDown) onMouseDown(mouseDownArgs(*event));
}

void DeskControl::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (onMouseMove) onMouseMove(mouseMoveArgs(*event));
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
