#include "ui/controls/picture_view.h"

#include <QPainter>

#include "ui/qt_bridge.h"

namespace lumiere::ui {

PictureView::PictureView(const Geometry& geometry, const Picture& picture, QPixmap builtin,
                         QWidget* parent)
    : DeskControl(parent), geometry_(geometry), picture_(picture), builtin_(std::move(builtin)) {}

void PictureView::refresh() {
    const int border = borderStyle_ ? *borderStyle_ : 0;
    const bool moved =
        first_ || geometry_.left != shownGeometry_.left || geometry_.top != shownGeometry_.top ||
        geometry_.width != shownGeometry_.width || geometry_.height != shownGeometry_.height;
    const bool repaint = first_ || picture_.get() != shownPicture_ || border != shownBorder_;
    first_ = false;
    if (moved) {
        shownGeometry_ = geometry_;
        setGeometry(toRect(geometry_));
    }
    if (repaint) {
        shownPicture_ = picture_.get();
        shownBorder_ = border;
        update();
    }
}

void PictureView::paintEvent(QPaintEvent*) {
    const QPixmap& pixmap = pixmapOr(picture_, builtin_);
    QPainter painter(this);
    if (!pixmap.isNull()) painter.drawPixmap(0, 0, pixmap);
    if (shownBorder_ == 1) {
        painter.setPen(QColor(0, 0, 0));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

}  // namespace lumiere::ui
