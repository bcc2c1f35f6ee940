// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/click_slider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace lumiere::ui {

ClickSlider::ClickSlider(Qt::Orientation orientation, QWidget* parent)
    : QSlider(orientation, parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void ClickSlider::mousePressEvent(QMouseEvent* event) {
    QSlider::mousePressEvent(event);
    if (event->isAccepted()) pressed_ = true;
}

void ClickSlider::mouseReleaseEvent(QMouseEvent* event) {
    QSlider::mouseReleaseEvent(event);
    if (!pressed_ || event->buttons() != Qt::NoButton) return;
    pressed_ = false;
    emit clicked();
}

void ClickSlider::keyPressEvent(QKeyEvent* event) {
    const int before = value();
    QSlider::keyPressEvent(event);
    if (value() != before) emit clicked();
}

void ClickSlider::wheelEvent(QWheelEvent* event) {
    const int before = value();
    QSlider::wheelEvent(event);
    if (value() != before) emit clicked();
}

}  // namespace lumiere::ui
