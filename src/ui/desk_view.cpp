// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/desk_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <optional>

#include "app/window_events.h"
#include "ui/builtin_art.h"
#include "ui/controls/gauge_view.h"
#include "ui/controls/label_view.h"
#include "ui/controls/picture_view.h"
#include "ui/qt_bridge.h"

namespace lumiere::ui {

DeskView::DeskView(const Form1& form, DeskEvents& events, QWidget* parent)
    : DeskControl(parent), form_(form) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(toRect(form_.Picture11.geo));
    build(events);
    onMouseMove = [&events](const MouseArgs& m) {
        events.Picture11_MouseMove(m.button, m.shift, m.x, m.y);
    };
    onMouseDown = [&events](const MouseArgs& m) {
        events.Picture11_MouseDown(m.button, m.shift, m.x, m.y);
    };
}

void DeskView::build(DeskEvents& events) {
    const BuiltinArt& art = BuiltinArt::get();
    for (int i = 0; i < kStrips; ++i) {
        levels_[i] = new LabelView(form_.niveau[i], this);
        levels_[i]->setAutoSize(true);
        lamps_[i] = new LabelView(form_.lampe[i], this);
        lamps_[i]->onClick = [&events, i] { events.lampe_Click(i); };
        gauges_[i] = new GaugeView(form_.Gauge1[i], this);
    }
    labels_ = {new LabelView(form_.Label2, this), new LabelView(form_.Label4, this),
               new LabelView(form_.Label3, this)};
    band_ = new PictureView(form_.Image4, QPixmap(), this);
    band_->onMouseMove = [&events](const MouseArgs& m) {
        events.Image4_MouseMove(m.button, m.shift, m.x, m.y);
    };
    toggle_ = new PictureView(form_.inter, art.toggle, this);
    toggle_->onClick = [&events] { events.inter_Click(); };
    // The knobs lie above everything else on the desk.
    for (int i = 0; i < kStrips; ++i) {
        knobs_[i] = new PictureView(form_.potar[i], art.knob, this);
        knobs_[i]->onMouseDown = [&events, i](const MouseArgs& m) {
            events.potar_MouseDown(i, m.button, m.shift, m.x, m.y);
        };
    }
}

void DeskView::refresh() {
    const std::optional<PictureBox> before =
        shown_.first() ? std::nullopt : std::optional<PictureBox>(*shown_);
    if (shown_.changed(form_.Picture11)) {
        if (!before || before->pointer != shown_->pointer) {
            setCursor(shown_->pointer == Pointer::UpArrow ? Qt::UpArrowCursor : Qt::ArrowCursor);
        }
        if (!before || before->picture != shown_->picture) update();
    }
    for (int i = 0; i < kStrips; ++i) {
        lamps_[i]->refresh();
        levels_[i]->refresh();
        gauges_[i]->refresh();
        knobs_[i]->refresh();
    }
    for (LabelView* label : labels_) label->refresh();
    band_->refresh();
    toggle_->refresh();
}

void DeskView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.fillRect(rect(), QColor(43, 45, 49));
    const QPixmap& desk =
        pixmapOr(shown_.first() ? Picture() : shown_->picture, BuiltinArt::get().desk);
    painter.drawPixmap(0, 0, desk);
}

}  // namespace lumiere::ui
