// SPDX-License-Identifier: GPL-3.0-or-later
// The small control pictures the window draws over the desk and the command panel: button
// faces, fader knob caps and the power switch.

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "artwork.h"
#include "desk_layout.h"
#include "metal.h"
#include "palette.h"

namespace lumiere::artwork {

QImage buttonFace(bool pressed) {
    const QSize size = layout().buttonFace;
    // The corners outside the rounded plate show the panel the buttons sit on.
    QImage image = canvas(size, palette::kAluminium);
    const QRectF plate(0.5, 0.5, size.width() - 1, size.height() - 1);
    QPainterPath outline;
    outline.addRoundedRect(plate, 2.5, 2.5);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.save();
    p.setClipPath(outline);
    // A pressed button is a little darker and its brushing moves with it, one pixel down-right.
    const QImage metal = brushedMetal(
        size, pressed ? shade(palette::kAluminium, -14) : shade(palette::kAluminium, 10), 7,
        0xb0770001u);
    p.drawImage(pressed ? QPointF(1, 1) : QPointF(0, 0), metal);
    QLinearGradient sheen(0, 0, 0, size.height());
    sheen.setColorAt(0.0, pressed ? QColor(0, 0, 0, 40) : QColor(255, 255, 255, 90));
    sheen.setColorAt(0.45, QColor(255, 255, 255, 0));
    sheen.setColorAt(1.0, pressed ? QColor(255, 255, 255, 30) : QColor(0, 0, 0, 34));
    p.fillRect(image.rect(), sheen);
    p.restore();

    bevel(p, QRectF(1, 1, size.width() - 2, size.height() - 2), 2, !pressed, pressed ? 150 : 190);
    p.setPen(QPen(palette::kAluminiumEdge, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(outline);
    return image;
}

QImage knobCap(bool selected) {
    const QSize size = layout().knobCap;
    // The corners show the dark desk the knob slides on.
    QImage image = canvas(size, palette::kDeskMetal);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);

    // Shadow cast on the desk.
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawRoundedRect(QRectF(1.0, 1.5, 32, 19.5), 3.5, 3.5);

    const QRectF body(0.5, 0.5, 31, 19);
    QLinearGradient rim(body.topLeft(), body.bottomLeft());
    rim.setColorAt(0.0, QColor(0xa4, 0xa8, 0xae));
    rim.setColorAt(0.5, QColor(0x5c, 0x5f, 0x65));
    rim.setColorAt(1.0, QColor(0x2a, 0x2c, 0x30));
    p.setBrush(rim);
    p.drawRoundedRect(body, 3.5, 3.5);

    // The dished top: darker in the middle, ridged across for the finger.
    const QRectF top = body.adjusted(2, 2, -2, -2);
    QLinearGradient dish(top.topLeft(), top.bottomLeft());
    dish.setColorAt(0.0, QColor(0x3a, 0x3c, 0x41));
    dish.setColorAt(0.5, QColor(0x50, 0x53, 0x59));
    dish.setColorAt(1.0, QColor(0x6c, 0x70, 0x76));
    p.setBrush(dish);
    p.drawRoundedRect(top, 2.5, 2.5);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int y = 4; y <= 16; y += 2) {
        if (y == 10) continue;
        p.setPen(QColor(0, 0, 0, 70));
        p.drawLine(QPointF(4, y), QPointF(28, y));
        p.setPen(QColor(255, 255, 255, 26));
        p.drawLine(QPointF(4, y + 1), QPointF(28, y + 1));
    }
    p.setRenderHint(QPainter::Antialiasing, true);

    // Index line across the middle: white on the plain cap, glowing amber on the selected one.
    const QRectF index(3.5, 9.0, 25, 2.0);
    if (selected) {
        for (int spread = 3; spread >= 1; --spread) {
            p.setPen(Qt::NoPen);
            p.setBrush(withAlpha(palette::kAmber, 30 + (3 - spread) * 20));
            p.drawRoundedRect(index.adjusted(-spread / 2.0, -spread, spread / 2.0, spread), 2, 2);
        }
        p.setBrush(QColor(0xff, 0xe4, 0xa0));
        p.drawRect(index);
        // Warm rim: the lit cap glows at its edge too.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(withAlpha(palette::kAmber, 200), 1.2));
        p.drawRoundedRect(body.adjusted(0.6, 0.6, -0.6, -0.6), 3, 3);
    } else {
        p.setBrush(QColor(0xf2, 0xf2, 0xf0));
        p.drawRect(index);
        p.setBrush(QColor(0, 0, 0, 90));
        p.drawRect(QRectF(index.left(), index.bottom(), index.width(), 0.8));
    }
    return image;
}

namespace {

// The hexagonal nut holding the switch in the plate.
void drawNut(QPainter& p, QPointF centre) {
    QPolygonF hex;
    for (int i = 0; i < 6; ++i) {
        const double a = (30.0 + 60.0 * i) * 3.14159265358979 / 180.0;
        hex << centre + QPointF(6.8 * std::cos(a), 6.8 * std::sin(a));
    }
    QLinearGradient metal(centre - QPointF(6, 6), centre + QPointF(6, 6));
    metal.setColorAt(0.0, QColor(0xe6, 0xe8, 0xec));
    metal.setColorAt(0.5, QColor(0x9a, 0x9e, 0xa5));
    metal.setColorAt(1.0, QColor(0x4a, 0x4d, 0x52));
    p.setPen(QPen(QColor(0x1c, 0x1d, 0x20), 0.8));
    p.setBrush(metal);
    p.drawPolygon(hex);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x14, 0x15, 0x17));
    p.drawEllipse(centre, 3.6, 3.6);
}

// The chrome bat lever from the nut towards `tip`.
void drawLever(QPainter& p, QPointF base, QPointF tip) {
    const double dir = tip.y() < base.y() ? -1.0 : 1.0;
    QPainterPath shaft;
    shaft.moveTo(base + QPointF(-2.6, 0));
    shaft.lineTo(tip + QPointF(-1.8, -dir * 2));
    shaft.lineTo(tip + QPointF(1.8, -dir * 2));
    shaft.lineTo(base + QPointF(2.6, 0));
    shaft.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 120));
    p.drawPath(shaft.translated(1.5, 1.5));
    p.drawEllipse(tip + QPointF(1.5, 1.5), 3.6, 3.6);
    QLinearGradient chrome(base.x() - 3, 0, base.x() + 3, 0);
    chrome.setColorAt(0.0, QColor(0x5a, 0x5e, 0x64));
    chrome.setColorAt(0.35, QColor(0xf4, 0xf6, 0xf8));
    chrome.setColorAt(1.0, QColor(0x70, 0x74, 0x7a));
    p.setPen(QPen(QColor(0x26, 0x28, 0x2b), 0.7));
    p.setBrush(chrome);
    p.drawPath(shaft);
    QRadialGradient ball(tip - QPointF(1.2, 1.2), 4.5);
    ball.setColorAt(0.0, QColor(0xff, 0xff, 0xff));
    ball.setColorAt(0.6, QColor(0xa8, 0xac, 0xb2));
    ball.setColorAt(1.0, QColor(0x4c, 0x50, 0x56));
    p.setBrush(ball);
    p.drawEllipse(tip, 3.4, 3.4);
}

}  // namespace

QImage toggleSwitch(bool on) {
    const QSize size = layout().toggle;
    QImage image = canvas(size, palette::kHollow);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);

    // Mounting plate of satin dark steel.
    const QRectF plate(0.5, 0.5, 29, 40);
    QPainterPath plateOutline;
    plateOutline.addRoundedRect(plate, 3, 3);
    p.save();
    p.setClipPath(plateOutline);
    p.drawImage(0, 0, brushedMetal(size, shade(palette::kDeskMetal, 22), 10, 0x5717c401u));
    p.restore();
    bevel(p, QRectF(1, 1, 28, 39), 1, true, 120);
    p.setPen(QPen(QColor(0x0e, 0x0f, 0x11), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(plateOutline);

    // Position marks beside the lever: I (on) above, O (off) below.
    p.setFont(sans(7, true));
    printCentred(p, QPointF(24.5, 6.5), QStringLiteral("I"), palette::kPrint);
    printCentred(p, QPointF(24.5, 34.5), QStringLiteral("O"), palette::kPrint);

    // Power lamp in the top-left corner.
    const QPointF led(6, 6.5);
    p.setPen(QPen(QColor(0x0a, 0x0a, 0x0a), 0.8));
    p.setBrush(QColor(0x55, 0x58, 0x5e));
    p.drawEllipse(led, 3.3, 3.3);
    if (on) {
        QRadialGradient glow(led, 3.0);
        glow.setColorAt(0.0, QColor(0xe8, 0xff, 0xe6));
        glow.setColorAt(0.5, palette::kLedOn);
        glow.setColorAt(1.0, shade(palette::kLedOn, -90));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(palette::kLedOff);
    }
    p.drawEllipse(led, 2.4, 2.4);
    p.setBrush(QColor(255, 255, 255, on ? 200 : 60));
    p.drawEllipse(led - QPointF(0.8, 0.8), 0.7, 0.7);

    const QPointF pivot(15, 20.5);
    drawNut(p, pivot);
    drawLever(p, pivot, on ? QPointF(15, 5.5) : QPointF(15, 35.5));
    return image;
}

}  // namespace lumiere::artwork
