// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/label_view.h"

#include <QPainter>

#include "ui/qt_bridge.h"

namespace lumiere::ui {
namespace {

// Long captions (a runaway sequence line) are cut before Qt lays them out.
constexpr int kMaxShownCharacters = 256;

}  // namespace

LabelView::LabelView(const Label& model, QWidget* parent) : DeskControl(parent), model_(model) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void LabelView::refresh() {
    if (!shown_.changed(model_)) return;
    QRect rect = toRect(shown_->geo);
    if (autoSize_) {
        const QString text = toQString(shown_->caption.substr(0, kMaxShownCharacters));
        const int wanted = fontMetrics().horizontalAdvance(text) + 2;
        rect.setWidth(std::max(rect.width(), maxWidth_ > 0 ? std::min(wanted, maxWidth_) : wanted));
    }
    if (rect != geometry()) setGeometry(rect);
    update();
}

void LabelView::paintEvent(QPaintEvent*) {
    if (shown_.first()) return;
    QPainter painter(this);
    if (!shown_->transparent) painter.fillRect(rect(), toQColor(shown_->backColor));
    if (shown_->border) {
        painter.setPen(QColor(0, 0, 0));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (shown_->caption.empty()) return;
    painter.setPen(toQColor(shown_->foreColor));
    const QString text = toQString(shown_->caption.substr(0, kMaxShownCharacters));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     fontMetrics().elidedText(text, Qt::ElideRight, width()));
}

}  // namespace lumiere::ui
