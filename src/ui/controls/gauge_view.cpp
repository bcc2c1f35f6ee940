// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/gauge_view.h"

#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

#include "ui/qt_bridge.h"

namespace lumiere::ui {

GaugeView::GaugeView(const Gauge& model, QWidget* parent) : DeskControl(parent), model_(model) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GaugeView::refresh() {
    if (!shown_.changed(model_)) return;
    setGeometry(toRect(shown_->geo));
    update();
}

void GaugeView::paintEvent(QPaintEvent*) {
    if (shown_.first()) return;
    QPainter painter(this);
    const QRect area = rect();
    painter.fillRect(area, QColor(12, 13, 15));
    const double span = std::max(1, shown_->max - shown_->min);
    const double fraction = std::clamp((shown_->value - shown_->min) / span, 0.0, 1.0);
    const int inner = area.height() - 2;
    const int filled = static_cast<int>(inner * fraction + 0.5);
    if (filled > 0) {
        const QRect bar(1, area.height() - 1 - filled, area.width() - 2, filled);
        QLinearGradient gradient(0, area.height(), 0, 0);
        gradient.setColorAt(0.0, QColor(40, 200, 70));
        gradient.setColorAt(0.7, QColor(230, 210, 40));
        gradient.setColorAt(1.0, QColor(235, 60, 40));
        painter.fillRect(bar, gradient);
    }
    painter.setPen(QColor(70, 72, 78));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
}

}  // namespace lumiere::ui
