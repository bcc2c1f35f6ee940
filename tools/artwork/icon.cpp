// SPDX-License-Identifier: GPL-3.0-or-later
// The application icon, painted on a 256-unit grid and scaled to the size asked for. Small
// sizes drop the screws, which would only blur at 48 pixels.

#include "icon.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <array>

#include "metal.h"
#include "palette.h"

namespace lumiere::artwork {
namespace {

constexpr qreal kGrid = 256.0;
const QRectF kPlate(14, 14, 228, 228);
constexpr qreal kPlateRadius = 44;
const QPointF kLamp(128, 112);
constexpr qreal kLampRadius = 56;
constexpr qreal kLedY = 200;
constexpr qreal kLedRadius = 8.5;
// Lamps 1, 3, 4, 6 and 8 lit: a pattern byte as the controller receives it.
constexpr std::array<bool, 8> kLit = {true, false, true, true, false, true, false, true};

void paintPlate(QPainter& p, const QImage& metal, const QPainterPath& outline) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawPath(outline.translated(0, 5));

    p.save();
    p.setClipPath(outline);
    p.save();
    p.resetTransform();
    p.drawImage(0, 0, metal);
    p.restore();
    QLinearGradient sheen(kPlate.topLeft(), kPlate.bottomRight());
    sheen.setColorAt(0.0, QColor(255, 255, 255, 34));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 0));
    sheen.setColorAt(1.0, QColor(0, 0, 0, 60));
    p.fillRect(kPlate, sheen);
    // The lamp lights the metal around it.
    QRadialGradient spill(kLamp, 118);
    spill.setColorAt(0.0, withAlpha(palette::kAmber, 110));
    spill.setColorAt(0.55, withAlpha(palette::kAmber, 26));
    spill.setColorAt(1.0, withAlpha(palette::kAmber, 0));
    p.fillRect(kPlate, spill);
    p.restore();

    // Bevelled rim: light along the top, dark along the bottom, a thin dark outline.
    QLinearGradient rim(kPlate.topLeft(), kPlate.bottomLeft());
    rim.setColorAt(0.0, QColor(255, 255, 255, 120));
    rim.setColorAt(0.5, QColor(255, 255, 255, 20));
    rim.setColorAt(1.0, QColor(0, 0, 0, 110));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(rim), 5));
    p.drawRoundedRect(kPlate.adjusted(3.5, 3.5, -3.5, -3.5), kPlateRadius - 3.5,
                      kPlateRadius - 3.5);
    p.setPen(QPen(QColor(0x05, 0x05, 0x06), 2));
    p.drawPath(outline);
}

void paintLamp(QPainter& p) {
    // Chrome bezel, then the hollow it sits in, then the glowing lens.
    QLinearGradient chrome(kLamp - QPointF(0, kLampRadius + 8),
                           kLamp + QPointF(0, kLampRadius + 8));
    chrome.setColorAt(0.0, QColor(0xe6, 0xe8, 0xec));
    chrome.setColorAt(0.5, QColor(0x7a, 0x7e, 0x85));
    chrome.setColorAt(1.0, QColor(0x2e, 0x30, 0x34));
    p.setPen(QPen(QColor(0x0a, 0x0a, 0x0b), 2));
    p.setBrush(chrome);
    p.drawEllipse(kLamp, kLampRadius + 8, kLampRadius + 8);
    p.setPen(Qt::NoPen);
    p.setBrush(palette::kHollow);
    p.drawEllipse(kLamp, kLampRadius + 1, kLampRadius + 1);

    QRadialGradient lens(kLamp - QPointF(10, 14), kLampRadius * 1.25);
    lens.setColorAt(0.0, QColor(0xff, 0xfb, 0xe8));
    lens.setColorAt(0.25, palette::kGold);
    lens.setColorAt(0.7, palette::kAmber);
    lens.setColorAt(1.0, shade(palette::kAmber, -110));
    p.setBrush(lens);
    p.drawEllipse(kLamp, kLampRadius - 2, kLampRadius - 2);

    // Fresnel rings of the lens, and the reflection of the room on its glass.
    p.setBrush(Qt::NoBrush);
    for (qreal r = 14; r < kLampRadius - 6; r += 11) {
        p.setPen(QPen(QColor(255, 255, 255, 46), 2.2));
        p.drawEllipse(kLamp, r, r);
        p.setPen(QPen(QColor(0x80, 0x40, 0x00, 40), 1.4));
        p.drawEllipse(kLamp, r + 2.2, r + 2.2);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(kLamp - QPointF(22, 26), 11, 7);
}

void paintLeds(QPainter& p) {
    const qreal first = 49;
    const qreal step = (kGrid - 2 * first) / 7;
    for (std::size_t i = 0; i < kLit.size(); ++i) {
        const QPointF centre(first + step * static_cast<qreal>(i), kLedY);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 160));
        p.drawEllipse(centre, kLedRadius + 2.5, kLedRadius + 2.5);
        if (kLit[i]) {
            QRadialGradient glow(centre, kLedRadius * 2.2);
            glow.setColorAt(0.0, withAlpha(palette::kAmber, 150));
            glow.setColorAt(1.0, withAlpha(palette::kAmber, 0));
            p.setBrush(glow);
            p.drawEllipse(centre, kLedRadius * 2.2, kLedRadius * 2.2);
            QRadialGradient bulb(centre - QPointF(2, 2), kLedRadius);
            bulb.setColorAt(0.0, QColor(0xff, 0xf4, 0xd0));
            bulb.setColorAt(0.6, palette::kAmber);
            bulb.setColorAt(1.0, shade(palette::kAmber, -80));
            p.setBrush(bulb);
        } else {
            p.setBrush(QColor(0x3a, 0x24, 0x0c));
        }
        p.drawEllipse(centre, kLedRadius, kLedRadius);
    }
}

}  // namespace

QImage appIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const qreal scale = size / kGrid;
    const QImage metal =
        brushedMetal(QSize(size, size), shade(palette::kDeskMetal, 8), 12, 0x1c0a0001u);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.scale(scale, scale);
    QPainterPath outline;
    outline.addRoundedRect(kPlate, kPlateRadius, kPlateRadius);
    paintPlate(p, metal, outline);
    if (size >= 96) {
        for (const auto& [x, y, slot] :
             {std::tuple{44.0, 44.0, 20.0}, std::tuple{212.0, 44.0, -35.0}}) {
            p.save();
            p.translate(x, y);
            p.scale(2.0, 2.0);
            screw(p, QPointF(0, 0), 4, slot);
            p.restore();
        }
    }
    paintLamp(p);
    paintLeds(p);
    p.end();
    return image;
}

}  // namespace lumiere::artwork
