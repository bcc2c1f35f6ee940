// SPDX-License-Identifier: GPL-3.0-or-later
#include "metal.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <vector>

namespace lumiere::artwork {

double Noise::next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 2147483648.0 - 1.0;
}

QImage canvas(QSize size, QColor fill) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

namespace {

// Running mean of `row` over a window of `length` samples, wrapping at the ends so the streaks
// have no seam.
std::vector<double> smear(const std::vector<double>& row, int length) {
    const int n = static_cast<int>(row.size());
    std::vector<double> out(row.size());
    double sum = 0.0;
    for (int i = -length / 2; i < length - length / 2; ++i) sum += row[((i % n) + n) % n];
    for (int x = 0; x < n; ++x) {
        out[x] = sum / length;
        sum -= row[((x - length / 2) % n + n) % n];
        sum += row[(x + length - length / 2) % n];
    }
    return out;
}

int clampLevel(double v) {
    return std::clamp(static_cast<int>(std::lround(v)), 0, 255);
}

}  // namespace

QImage brushedMetal(QSize size, QColor base, int contrast, std::uint32_t seed) {
    QImage image(size, QImage::Format_RGB32);
    Noise noise(seed);
    const int w = size.width();
    const int h = size.height();
    constexpr int kStreak = 48;
    // A mean of kStreak uniform samples in [-1, 1) spreads by 1 / sqrt(3 * kStreak).
    const double unitSpread = std::sqrt(3.0 * kStreak);
    // Each row gets its own slow brightness so the brushing shows as fine horizontal bands.
    std::vector<double> band(h);
    for (double& b : band) b = noise.next();
    std::vector<double> row(w);
    for (int y = 0; y < h; ++y) {
        for (double& v : row) v = noise.next();
        const std::vector<double> streak = smear(row, kStreak);
        const double light = 0.5 - static_cast<double>(y) / std::max(1, h - 1);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            // Streaks dominate; a little grain keeps the surface from looking painted.
            const double d = contrast * (0.5 * streak[x] * unitSpread + 0.3 * band[y] +
                                         0.12 * noise.next() + 0.35 * light);
            line[x] = qRgb(clampLevel(base.red() + d), clampLevel(base.green() + d),
                           clampLevel(base.blue() + d));
        }
    }
    return image;
}

QColor shade(QColor c, int delta) {
    return QColor(std::clamp(c.red() + delta, 0, 255), std::clamp(c.green() + delta, 0, 255),
                  std::clamp(c.blue() + delta, 0, 255), c.alpha());
}

QColor withAlpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}

void bevel(QPainter& p, const QRectF& r, int width, bool raised, int strength) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor light(255, 255, 255);
    const QColor dark(0, 0, 0);
    for (int i = 0; i < width; ++i) {
        // Lines fade towards the inside of the bevel.
        const int alpha = strength * (width - i) / width;
        const QRectF e = r.adjusted(i, i, -i - 1, -i - 1);
        p.setPen(QPen(withAlpha(raised ? light : dark, alpha), 1));
        p.drawLine(QPointF(e.left(), e.bottom()), e.topLeft());
        p.drawLine(e.topLeft(), QPointF(e.right(), e.top()));
        p.setPen(QPen(withAlpha(raised ? dark : light, alpha * 3 / 4), 1));
        p.drawLine(QPointF(e.right(), e.top() + 1), e.bottomRight());
        p.drawLine(e.bottomRight(), QPointF(e.left() + 1, e.bottom()));
    }
    p.restore();
}

void recess(QPainter& p, const QRectF& r, qreal radius, QColor floor) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    // Light lower lip: the metal edge facing the light, one pixel below the hollow.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawRoundedRect(r.adjusted(-1, -1, 1, 1.2), radius + 1, radius + 1);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawRoundedRect(r.adjusted(-1, -1.2, 1, 0), radius + 1, radius + 1);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0.0, shade(floor, -6));
    fill.setColorAt(1.0, shade(floor, 6));
    p.setBrush(fill);
    p.drawRoundedRect(r, radius, radius);
    // Shadow cast by the upper lip onto the floor.
    QLinearGradient shadow(r.topLeft(),
                           QPointF(r.left(), r.top() + std::min<qreal>(4, r.height())));
    shadow.setColorAt(0.0, QColor(0, 0, 0, 140));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setBrush(shadow);
    p.drawRoundedRect(r, radius, radius);
    p.restore();
}

void engrave(QPainter& p, QPointF from, QPointF to) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const bool horizontal = std::abs(to.y() - from.y()) < std::abs(to.x() - from.x());
    const QPointF step = horizontal ? QPointF(0, 1) : QPointF(1, 0);
    p.setPen(QPen(QColor(0, 0, 0, 150), 1));
    p.drawLine(from, to);
    p.setPen(QPen(QColor(255, 255, 255, 34), 1));
    p.drawLine(from + step, to + step);
    p.restore();
}

void screw(QPainter& p, QPointF centre, qreal radius, qreal slotDegrees) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    // Countersink: dark ring with a light lower edge.
    p.setBrush(QColor(255, 255, 255, 36));
    p.drawEllipse(centre + QPointF(0.3, 0.6), radius + 1.2, radius + 1.2);
    p.setBrush(QColor(0, 0, 0, 170));
    p.drawEllipse(centre, radius + 1.0, radius + 1.0);
    QRadialGradient head(centre - QPointF(radius * 0.4, radius * 0.5), radius * 1.6);
    head.setColorAt(0.0, QColor(0xd8, 0xdb, 0xe0));
    head.setColorAt(0.5, QColor(0x8c, 0x90, 0x97));
    head.setColorAt(1.0, QColor(0x3c, 0x3f, 0x44));
    p.setBrush(head);
    p.drawEllipse(centre, radius, radius);
    p.translate(centre);
    p.rotate(slotDegrees);
    p.setBrush(QColor(0x16, 0x17, 0x19));
    p.drawRect(QRectF(-radius * 0.8, -0.7, radius * 1.6, 1.4));
    p.setBrush(QColor(255, 255, 255, 70));
    p.drawRect(QRectF(-radius * 0.8, 0.7, radius * 1.6, 0.5));
    p.restore();
}

QFont sans(qreal pixelSize, bool bold) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(static_cast<int>(std::lround(pixelSize)));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QFont serif(qreal pixelSize, bool italic, bool bold) {
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(static_cast<int>(std::lround(pixelSize)));
    font.setItalic(italic);
    font.setBold(bold);
    return font;
}

void printCentred(QPainter& p, QPointF centre, const QString& text, QColor colour) {
    const QFontMetricsF metrics(p.font());
    const QRectF box = metrics.tightBoundingRect(text);
    const QPointF origin(centre.x() - box.width() / 2 - box.left(),
                         centre.y() - box.height() / 2 - box.top());
    p.save();
    p.setPen(colour);
    p.drawText(origin, text);
    p.restore();
}

}  // namespace lumiere::artwork
