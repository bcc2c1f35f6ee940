// SPDX-License-Identifier: GPL-3.0-or-later
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
    const bool first = shown_.first();
    if (!shown_.changed(model_)) return;
    if (first) setGeometry(toRect(shown_->geo));
    setToolTip(toQString(shown_->toolTip));
    QFont face = font();
    if (shown_->arialFont) face.setFamily(QStringLiteral("Arial"));
    face.setItalic(shown_->italic);
    face.setUnderline(shown_->underline);
    setFont(face);
    update();
}

void FaceButton::mousePressEvent(QMouseEvent* event) {
    if (onMouseDown) onMouseDown(mouseDownArgs(*event));
    // Only the left button presses the button (and so may produce a click).
    if (event->button() == Qt::LeftButton)
        QAbstractButton::mousePressEvent(event);
    else
        event->accept();
}

void FaceButton::paintEvent(QPaintEvent*) {
    if (shown_.first()) return;
    QPainter painter(this);
    const QRect area = rect();
    painter.fillRect(area, toQColor(shown_->backColor));
    const QPixmap& face = pixmapOr(shown_->picture, builtin_);
    if (!face.isNull()) painter.drawPixmap(area, face);
    // A back colour of its own shows through the face as a tint.
    if (shown_->backColor != colour::kButtonFace) {
        painter.setCompositionMode(QPainter::CompositionMode_Multiply);
        painter.fillRect(area, toQColor(shown_->backColor));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    const int shift = isDown() ? 1 : 0;
    painter.setPen(isEnabled() ? QColor(0, 0, 0) : QColor(120, 120, 120));
    painter.drawText(area.translated(shift, shift), Qt::AlignCenter | Qt::TextSingleLine,
                     toQString(shown_->caption));
    if (hasFocus()) {
        painter.setPen(QPen(QColor(60, 60, 60), 1, Qt::DotLine));
        painter.drawRect(area.adjusted(3, 3, -4, -4));
    }
}

}  // namespace lumiere::ui
