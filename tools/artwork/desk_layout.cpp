// SPDX-License-Identifier: GPL-3.0-or-later
#include "desk_layout.h"

#include <algorithm>

namespace lumiere::artwork {
namespace {

QRect pixels(const Geometry& geo) {
    return QRect(toPixels(geo.left), toPixels(geo.top), toPixels(geo.width), toPixels(geo.height));
}

QSize sizeOf(const Geometry& geo) {
    return pixels(geo).size();
}

// The level figures are auto-sized labels: the desk leaves room for two digits.
constexpr int kFigureRoom = 14;

DeskLayout deskOf(const Form1& form) {
    DeskLayout desk;
    desk.size = sizeOf(form.Picture11.geo);
    for (int i = 0; i < kStrips; ++i) {
        desk.lamps[i] = pixels(form.lampe[i].geo);
        desk.figures[i] = pixels(form.niveau[i].geo);
        desk.figures[i].setWidth(kFigureRoom);
        desk.gauges[i] = pixels(form.Gauge1[i].geo);
        desk.knobs[i] = pixels(form.potar[i].geo);
    }
    const Twips knobHeight = form.potar[0].geo.height;
    desk.knobTopMin = toPixels(faderBand::kTop - knobHeight);
    desk.knobTopMax = toPixels(faderBand::kLowestPointer - knobHeight);
    desk.toggle = pixels(form.inter.geo);
    desk.toggleLabel = pixels(form.Label2.geo);
    desk.masterLabel = pixels(form.Label4.geo);
    desk.lowerBandY = toPixels(form.Image4.geo.top);

    constexpr int kLastChannel = kChannels - 1;
    constexpr int kMaster = kStrips - 1;
    const int channelsEnd =
        std::max({desk.lamps[kLastChannel].right(), desk.gauges[kLastChannel].right(),
                  desk.knobs[kLastChannel].right()}) +
        1;
    const int masterStart = std::min(
        {desk.lamps[kMaster].left(), desk.gauges[kMaster].left(), desk.figures[kMaster].left()});
    desk.masterSectionX = (channelsEnd + masterStart + 1) / 2;
    const int travelEnd = desk.knobTopMax + desk.knobs[0].height();
    desk.channelNumberY = (travelEnd + desk.lowerBandY) / 2;
    return desk;
}

WindowLayout windowOf(const Form1& form) {
    WindowLayout window;
    window.desk = deskOf(form);
    window.buttonFace = sizeOf(form.Command11[0].geo);
    window.knobCap = sizeOf(form.potar[0].geo);
    window.toggle = sizeOf(form.inter.geo);
    window.banner = sizeOf(form.Image1.geo);
    window.title = sizeOf(form.Image3.geo);
    window.panel = sizeOf(form.Image2.geo);
    return window;
}

}  // namespace

const WindowLayout& layout() {
    static const WindowLayout window = windowOf(makeForm1());
    return window;
}

}  // namespace lumiere::artwork
