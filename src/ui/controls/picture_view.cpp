// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/picture_view.h"

#include <QPainter>

#include "ui/qt_bridge.h"

namespace lumiere::ui {

PictureView::PictureView(const PictureBox& model, QPixmap builtin, QWidget* parent)
    : DeskControl(parent),
      read_([&model] {
          return Look{model.geo, model.picture, model.borderStyle};
      }),
      builtin_(std::move(builtin)) {}

PictureView::PictureView(const Image& model, QPixmap builtin, QWidget* parent)
    : DeskControl(parent),
      read_([&model] {
          return Look{model.geo, model.picture, 0};
      }),
      builtin_(std::move(builtin)) {}

void PictureView::refresh() {
    const bool first = shown_.first();
    const Geometry before = first ? Geometry{} : shown_->geo;
    if (!shown_.changed(read_())) return;
    if (first || !(shown_->geo == before)) setGeometry(toRect(shown_->geo));
    update();
}

void PictureView::paintEvent(QPaintEvent*) {
    if (shown_.first()) return;
    const QPixmap& pixmap = pixmapOr(shown_->picture, builtin_);
    QPainter painter(this);
    if (!pixmap.isNull()) painter.drawPixmap(0, 0, pixmap);
    if (shown_->borderStyle == 1) {
        painter.setPen(QColor(0, 0, 0));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

}  // namespace lumiere::ui
