#include "ui/controls/label_view.h"

#include <QPainter>

#include "ui/qt_bridge.h"

namespace lumiere::ui {
namespace {

// Long captions (a runaway sequence line) are cut before Qt lays them out.
constexpr int kMaxShownCharacters = 256;

bool sameLook(const Label& a, const Label& b) {
    return a.caption == b.caption && a.foreColor == b.foreColor && a.backColor == b.backColor &&
           a.transparent == b.transparent && a.border == b.border;
}

bool sameGeometry(const Geometry& a, const Geometry& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

}  // namespace

LabelView::LabelView(const Label& model, QWidget* parent) : DeskControl(parent), model_(model) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void LabelView::refresh() {
    const bool look = first_ || !sameLook(model_, shown_);
    const bool moved = first_ || !sameGeometry(model_.geo, shown_.geo);
    if (!look && !moved) return;
    first_ = false;
    shown_ = model_;
    QRect rect = toRect(model_.geo);
    if (autoSize_) {
        const QString text = toQString(model_.caption.substr(0, kMaxShownCharacters));
        const int wanted = fontMetrics().horizontalAdvance(text) + 2;
        rect.setWidth(std::max(rect.width(), maxWidth_ > 0 ? std::min(wanted, maxWidth_) : wanted));
    }
    if (rect != this->geometry()) setGeometry(rect);
    update();
}

void LabelView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!shown_.transparent) painter.fillRect(rect(), toQColor(shown_.backColor));
    if (shown_.border) {
        painter.setPen(QColor(0, 0, 0));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (shown_.caption.empty()) return;
    painter.setPen(toQColor(shown_.foreColor));
    const QString text = toQString(shown_.caption.substr(0, kMaxShownCharacters));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     fontMetrics().elidedText(text, Qt::ElideRight, width()));
}

}  // namespace lumiere::ui
