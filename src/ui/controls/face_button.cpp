#include "ui/controls/face_button.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/qt_bridge.h"

namespace lumiere::ui {

FaceButton::FaceButton(const CommandButton& model, QPixmap builtinFace, QWidget* parent)
    : QAbstractButton(parent), model_(model), builtin_(std::move(builtinFace)) {
    setFocusPolicy(Qt::TabFocus);
}

void FaceButton::refresh() {
    const bool changed = first_ || model_.caption != shown_.caption ||
                         model_.italic != shown_.italic || model_.underline != shown_.underline ||
                         model_.picture != shown_.picture || model_.backColor != shown_.backColor ||
                         model_.toolTip != shown_.toolTip;
    if (!changed) return;
    const bool placed = !first_;
    first_ = false;
    shown_ = model_;
    if (!placed) setGeometry(toRect(model_.geo));
    setToolTip(toQString(model_.toolTip));
    QFont face = font();
    if (model_.arialFont) face.setFamily(QStringLiteral("Arial"));
    face.setItalic(model_.italic);
    face.setUnderline(model_.underline);
    setFont(face);
    update();
}

void FaceButton::mousePressEvent(QMouseEvent* event) {
    if (onMouseDown) {
        int code = event->button() == Qt::LeftButton     ? 1
                   : event->button() == Qt::RightButton  ? 2
                   : event->button() == Qt::MiddleButton ? 4
                                                         : 0;
        const QPointF p = event->position();
        onMouseDown({code, 0, toTwips(p.x()), toTwips(p.y())});
    }
    // Only the left button presses the button (and so may produce a click).
    if (event->button() == Qt::LeftButton)
        QAbstractButton::mousePressEvent(event);
    else
        event->accept();
}

void FaceButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect();
    painter.fillRect(area, toQColor(shown_.backColor));
    const QPixmap& face = pixmapOr(shown_.picture, builtin_);
    if (!face.isNull()) painter.drawPixmap(area, face);
    // A back colour of its own shows through the face as a tint.
    if (shown_.backColor != colour::kButtonFace) {
        painter.setCompositionMode(QPainter::CompositionMode_Multiply);
        painter.fillRect(area, toQColor(shown_.backColor));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    const int shift = isDown() ? 1 : 0;
    painter.setPen(isEnabled() ? QColor(0, 0, 0) : QColor(120, 120, 120));
    painter.drawText(area.translated(shift, shift), Qt::AlignCenter | Qt::TextSingleLine,
                     toQString(shown_.caption));
    if (hasFocus()) {
        painter.setPen(QPen(QColor(60, 60, 60), 1, Qt::DotLine));
        painter.drawRect(area.adjusted(3, 3, -4, -4));
    }
}

}  // namespace lumiere::ui
