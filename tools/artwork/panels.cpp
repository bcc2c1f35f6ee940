// SPDX-License-Identifier: GPL-3.0-or-later
// The strips around the desk: the dark banner with the title over it, and the light command
// panel below the desk.

#include <QLinearGradient>

#include "artwork.h"
#include "desk_layout.h"
#include "metal.h"
#include "palette.h"

namespace lumiere::artwork {

namespace {

// Vertical shading of the banner. The title picture reuses it row for row, so the title sits
// on the banner without a visible edge.
void paintBannerShading(QPainter& p, int width) {
    QLinearGradient shading(0, 0, 0, layout().banner.height());
    shading.setColorAt(0.0, QColor(0x36, 0x37, 0x3c));
    shading.setColorAt(0.5, QColor(0x18, 0x19, 0x1c));
    shading.setColorAt(1.0, QColor(0x07, 0x07, 0x08));
    p.fillRect(QRectF(0, 0, width, layout().banner.height()), shading);
}

}  // namespace

QImage banner() {
    QImage image = canvas(layout().banner, Qt::black);
    QPainter p(&image);
    paintBannerShading(p, image.width());
    return image;
}

QImage title() {
    const QSize size = layout().title;
    QImage image = canvas(size, Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    paintBannerShading(p, size.width());

    const QString text = QStringLiteral("Jeu de lumière");
    p.setFont(serif(17, true));
    const QFontMetricsF metrics(p.font());
    const qreal textWidth = metrics.horizontalAdvance(text);
    const qreal left = (size.width() - textWidth) / 2;
    const qreal baseline = 15.5;

    // Fine gold rules fading out on both sides of the title, each ending in a small diamond.
    const qreal ruleY = 11.5;
    const qreal gap = 9;
    for (int side = 0; side < 2; ++side) {
        const qreal inner = side == 0 ? left - gap : left + textWidth + gap;
        const qreal outer = side == 0 ? 8 : size.width() - 8;
        QLinearGradient fade(outer, 0, inner, 0);
        fade.setColorAt(0.0, withAlpha(palette::kGold, 0));
        fade.setColorAt(1.0, withAlpha(palette::kGold, 200));
        p.setPen(QPen(QBrush(fade), 1));
        p.drawLine(QPointF(outer, ruleY), QPointF(inner, ruleY));
        QPolygonF diamond;
        diamond << QPointF(inner, ruleY - 2.2) << QPointF(inner + 2.2, ruleY)
                << QPointF(inner, ruleY + 2.2) << QPointF(inner - 2.2, ruleY);
        p.setPen(Qt::NoPen);
        p.setBrush(palette::kGold);
        p.drawPolygon(diamond);
    }

    p.setPen(QColor(0, 0, 0, 200));
    p.drawText(QPointF(left + 1, baseline + 1), text);
    QLinearGradient gold(0, baseline - 12, 0, baseline + 3);
    gold.setColorAt(0.0, QColor(0xff, 0xec, 0xa8));
    gold.setColorAt(0.5, palette::kGold);
    gold.setColorAt(1.0, QColor(0xb0, 0x7c, 0x22));
    p.setPen(QPen(QBrush(gold), 1));
    p.drawText(QPointF(left, baseline), text);
    return image;
}

QImage controlPanel() {
    const QSize size = layout().panel;
    QImage image = brushedMetal(size, palette::kAluminium, 8, 0xc0a1e101u);
    QPainter p(&image);
    QLinearGradient sheen(0, 0, size.width(), size.height());
    sheen.setColorAt(0.0, QColor(255, 255, 255, 40));
    sheen.setColorAt(0.6, QColor(255, 255, 255, 0));
    sheen.setColorAt(1.0, QColor(0, 0, 0, 18));
    p.fillRect(image.rect(), sheen);
    bevel(p, QRectF(1, 1, size.width() - 2, size.height() - 2), 2, true, 170);
    p.setPen(palette::kAluminiumEdge);
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return image;
}

}  // namespace lumiere::artwork
