// SPDX-License-Identifier: GPL-3.0-or-later
// The lighting desk: a dark brushed-metal panel with, for each strip, a level display window,
// a lamp socket, a gauge track and a fader slot with its scale; below them the power switch
// plate and the maker's line.

#include <QLinearGradient>

#include "artwork.h"
#include "desk_layout.h"
#include "metal.h"
#include "palette.h"

namespace lumiere::artwork {

namespace {

constexpr int kScaleSteps = 10;

const DeskLayout& d() {
    return layout().desk;
}

// Vertical position of level `step` (0..kScaleSteps) on the fader scale: the middle of the
// knob when it shows that level.
double scaleY(int step) {
    const double span = d().knobTopMax - d().knobTopMin;
    return d().knobTopMax + d().knobs[0].height() / 2.0 - span * step / kScaleSteps;
}

// Row of level `step` (0..kScaleSteps) on a gauge: its bottom row at 0, its top row at full.
int gaugeY(int step) {
    return d().gauges[0].y() + d().gauges[0].height() - 1 -
           (d().gauges[0].height() - 1) * step / kScaleSteps;
}

void paintBody(QPainter& p) {
    const QRectF all(0, 0, d().size.width(), d().size.height());
    QLinearGradient sheen(0, 0, d().size.width() * 0.6, d().size.height());
    sheen.setColorAt(0.0, QColor(255, 255, 255, 16));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 0));
    sheen.setColorAt(1.0, QColor(0, 0, 0, 30));
    p.fillRect(all, sheen);

    // The master section stands apart on a slightly darker inlay.
    const QRectF master(d().masterSectionX, 7, d().size.width() - 7 - d().masterSectionX,
                        d().lowerBandY - 12);
    p.fillRect(master, QColor(0, 0, 0, 34));
    engrave(p, master.topLeft(), QPointF(master.left(), master.bottom()));
    engrave(p, master.topLeft(), QPointF(master.right(), master.top()));

    // Seam between the strips and the lower band.
    engrave(p, QPointF(4, d().lowerBandY - 2), QPointF(d().size.width() - 5, d().lowerBandY - 2));

    bevel(p, all.adjusted(1, 1, -1, -1), 3, true, 90);
    p.setPen(QColor(0x05, 0x05, 0x06));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, d().size.width() - 1, d().size.height() - 1);

    // Corner screws; the bottom-left corner is the switch plate, held by its own screws.
    screw(p, QPointF(10, 10), 4, 20);
    screw(p, QPointF(d().size.width() - 11, 10), 4, -35);
    screw(p, QPointF(d().size.width() - 11, d().size.height() - 11), 4, 65);
}

// Small printed legend left of the first strip, naming the rows of the desk.
void paintLegend(QPainter& p) {
    p.setFont(sans(7, true));
    const double x = 27;
    printCentred(p, QPointF(x, d().figures[0].y() + d().figures[0].height() / 2.0),
                 QStringLiteral("NIVEAU"), palette::kPrintDim);
    printCentred(p, QPointF(x, d().lamps[0].y() + d().lamps[0].height() / 2.0),
                 QStringLiteral("LAMPE"), palette::kPrintDim);
    printCentred(p, QPointF(x, d().channelNumberY), QStringLiteral("CANAL"), palette::kPrintDim);

    // A percent scale for the gauges, printed once beside the first one.
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const int right = d().gauges[0].x() - 4;
    for (int step = 0; step <= kScaleSteps; ++step) {
        const int y = gaugeY(step);
        const int length = step % 5 == 0 ? 5 : 3;
        p.setPen(palette::kPrintDim);
        p.drawLine(right - length, y, right, y);
    }
    p.restore();
    p.setFont(sans(7));
    for (int step : {0, 5, 10}) {
        printCentred(p, QPointF(right - 16, gaugeY(step)), QString::number(step * 10),
                     palette::kPrintDim);
    }
}

void paintFigureWindow(QPainter& p, int strip) {
    const QRectF window(d().figures[strip].x() - 3, d().figures[0].y() - 2,
                        d().figures[0].width() + 6, d().figures[0].height() + 4);
    recess(p, window, 2, QColor(0x07, 0x07, 0x08));
}

void paintLampSocket(QPainter& p, int strip) {
    const int lampX = d().lamps[strip].x();
    const int lampY = d().lamps[strip].y();
    const QRectF rimRect(lampX - 3.5, lampY - 3.5, d().lamps[0].width() + 7,
                         d().lamps[0].height() + 7);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawRoundedRect(rimRect.translated(0.8, 1.2), 3.5, 3.5);
    QLinearGradient rim(rimRect.topLeft(), rimRect.bottomLeft());
    rim.setColorAt(0.0, QColor(0xa8, 0xac, 0xb2));
    rim.setColorAt(0.5, QColor(0x5e, 0x62, 0x68));
    rim.setColorAt(1.0, QColor(0x30, 0x32, 0x36));
    p.setBrush(rim);
    p.drawRoundedRect(rimRect, 3.5, 3.5);
    p.restore();
    recess(p, QRectF(lampX - 1, lampY - 1, d().lamps[0].width() + 2, d().lamps[0].height() + 2),
           1.5, QColor(0x10, 0x10, 0x12));
}

void paintGaugeTrack(QPainter& p, int strip) {
    const int x = d().gauges[strip].x();
    recess(
        p,
        QRectF(x - 1, d().gauges[0].y() - 1, d().gauges[0].width() + 2, d().gauges[0].height() + 2),
        1.5, palette::kHollow);
    // Faint segment lines, as on a bargraph meter.
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(255, 255, 255, 14));
    for (int step = 1; step < kScaleSteps; ++step) {
        p.drawLine(x + 1, gaugeY(step), x + d().gauges[0].width() - 2, gaugeY(step));
    }
    p.restore();
}

void paintFaderSlot(QPainter& p, int strip) {
    const double cx = d().slotCentre(strip);
    const double top = d().knobTopMin + 9;
    const double bottom = d().knobTopMax + d().knobs[0].height() - 3;
    recess(p, QRectF(cx - 2.5, top, 5, bottom - top), 2.5, QColor(0x02, 0x02, 0x03));

    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int step = 0; step <= kScaleSteps; ++step) {
        const int y = static_cast<int>(scaleY(step));
        const int length = step % 5 == 0 ? 5 : 3;
        const int left = static_cast<int>(cx) - 5;
        const int right = static_cast<int>(cx) + 5;
        p.setPen(step % 5 == 0 ? palette::kPrint : palette::kPrintDim);
        p.drawLine(left - length + 1, y, left, y);
        p.drawLine(right, y, right + length - 1, y);
    }
    p.restore();

    p.setFont(sans(7));
    for (int step = 0; step <= kScaleSteps; step += 2) {
        const QString number = QString::number(step);
        printCentred(p, QPointF(cx + 14.5, scaleY(step)), number,
                     step % 10 == 0 ? palette::kPrint : palette::kPrintDim);
    }
}

void paintChannelNumber(QPainter& p, int strip) {
    p.setFont(sans(12, true));
    printCentred(p, QPointF(d().slotCentre(strip), d().channelNumberY), QString::number(strip + 1),
                 palette::kPrint);
}

void paintSwitchPlate(QPainter& p) {
    const QRectF plate(5, d().lowerBandY + 2, 90, d().size.height() - d().lowerBandY - 7);
    engrave(p, plate.topLeft(), QPointF(plate.right(), plate.top()));
    engrave(p, QPointF(plate.right(), plate.top()), plate.bottomRight());
    const QRectF hole(d().toggle.x() - 4, d().toggle.y() - 4, d().toggle.width() + 8,
                      d().toggle.height() + 8);
    recess(p, hole, 3, palette::kHollow);
    const double y = d().toggle.y() + d().toggle.height() / 2.0;
    screw(p, QPointF(hole.left() - 9, y), 3.2, 35);
    screw(p, QPointF(hole.right() + 9, y), 3.2, -50);
}

// Maker's line at the bottom right of the lower band.
void paintMakersLine(QPainter& p) {
    QFont brand = serif(12, false, true);
    brand.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    p.setFont(brand);
    const QString name = QStringLiteral("LUMIÈRE");
    const QFontMetricsF metrics(brand);
    const double right = d().size.width() - 26;
    const double baseline = d().size.height() - 14;
    const double width = metrics.horizontalAdvance(name) - 3;
    p.setPen(QColor(0, 0, 0, 160));
    p.drawText(QPointF(right - width + 1, baseline + 1), name);
    p.setPen(palette::kPrintDim);
    p.drawText(QPointF(right - width, baseline), name);
    p.setFont(sans(7));
    p.setPen(withAlpha(palette::kPrintDim, 180));
    const QString line = QStringLiteral("JEU DE LUMIÈRE  ·  8 CANAUX");
    const double lineWidth = QFontMetricsF(p.font()).horizontalAdvance(line);
    p.drawText(QPointF(right - lineWidth, baseline - 16), line);
}

}  // namespace

QImage desk() {
    QImage image = brushedMetal(d().size, palette::kDeskMetal, 9, 0xde5c0001u);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    paintBody(p);
    paintLegend(p);
    for (int strip = 0; strip < kStrips; ++strip) {
        paintFigureWindow(p, strip);
        paintLampSocket(p, strip);
        paintGaugeTrack(p, strip);
        paintFaderSlot(p, strip);
        if (strip != (kStrips - 1)) paintChannelNumber(p, strip);
    }
    paintSwitchPlate(p);
    paintMakersLine(p);
    return image;
}

}  // namespace lumiere::artwork
