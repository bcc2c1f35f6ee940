// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <cstdint>

// Drawing primitives shared by the Lumière pictures: metal surfaces, bevels, hollows, screws
// and printed text.
namespace lumiere::artwork {

// Small deterministic generator (xorshift32) so every build paints identical pictures.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed != 0 ? seed : 0x9e3779b9u) {}
    // Uniform value in [-1, 1).
    double next();

private:
    std::uint32_t state_;
};

// An opaque picture of the given size filled with one colour.
QImage canvas(QSize size, QColor fill);

// Brushed metal: long horizontal streaks around `base`, `contrast` grey levels deep, lit a little
// from the top.
QImage brushedMetal(QSize size, QColor base, int contrast, std::uint32_t seed);

// `c` made lighter (delta > 0) or darker (delta < 0) by `delta` levels on every channel.
QColor shade(QColor c, int delta);
// `c` with the given alpha.
QColor withAlpha(QColor c, int alpha);

// A bevel of `width` pixels inside `r`: raised has its light edge at the top-left, sunken at
// the bottom-right. `strength` is the alpha of the strongest line.
void bevel(QPainter& p, const QRectF& r, int width, bool raised, int strength);

// A hollow pressed into the metal: dark floor, shadow under the upper lip, light lower lip.
void recess(QPainter& p, const QRectF& r, qreal radius, QColor floor);

// Two parallel lines (dark then light) that read as a groove engraved in the metal.
void engrave(QPainter& p, QPointF from, QPointF to);

// A slotted screw head with its countersink.
void screw(QPainter& p, QPointF centre, qreal radius, qreal slotDegrees);

// Liberation fonts at a pixel size.
QFont sans(qreal pixelSize, bool bold = false);
QFont serif(qreal pixelSize, bool italic = false, bool bold = false);

// Text centred on `centre`.
void printCentred(QPainter& p, QPointF centre, const QString& text, QColor colour);

}  // namespace lumiere::artwork
