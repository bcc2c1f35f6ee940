#include "ui/desk_view.h"

#include <QPaintEvent>
#include <QPainter>

#include "app/application.h"
#include "ui/builtin_art.h"
#include "ui/controls/gauge_view.h"
#include "ui/controls/label_view.h"
#include "ui/controls/picture_view.h"
#include "ui/qt_bridge.h"

namespace lumiere::ui {

DeskView::DeskView(Application& app, QWidget* parent) : DeskControl(parent), form_(app.form()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(toRect(form_.Picture11.geo));
    setCursor(Qt::ArrowCursor);
    build(app);
    onMouseMove = [&app](const MouseArgs& m) {
        app.Picture11_MouseMove(m.button, m.shift, m.x, m.y);
    };
    onMouseDown = [&app](const MouseArgs& m) {
        app.Picture11_MouseDown(m.button, m.shift, m.x, m.y);
    };
}

void DeskView::build(Application& app) {
    const BuiltinArt& art = BuiltinArt::get();
    for (int i = 0; i < kStrips; ++i) {
        levels_[i] = new LabelView(form_.niveau[i], this);
        levels_[i]->setAutoSize(true);
        lamps_[i] = new LabelView(form_.lampe[i], this);
        lamps_[i]->onClick = [&app, i] { app.lampe_Click(i); };
        gauges_[i] = new GaugeView(form_.Gauge1[i], this);
    }
    labels_ = {new LabelView(form_.Label2, this), new LabelView(form_.Label4, this),
               new LabelView(form_.Label3, this)};
    band_ = new PictureView(form_.Image4.geo, form_.Image4.picture, QPixmap(), this);
    band_->onMouseMove = [&app](const MouseArgs& m) {
        app.Image4_MouseMove(m.button, m.shift, m.x, m.y);
    };
    toggle_ = new PictureView(form_.inter.geo, form_.inter.picture, art.toggle, this);
    toggle_->onClick = [&app] { app.inter_Click(); };
    // The knobs lie above everything else on the desk.
    for (int i = 0; i < kStrips; ++i) {
        knobs_[i] = new PictureView(form_.potar[i].geo, form_.potar[i].picture, art.knob, this);
        knobs_[i]->setBorderStyle(&form_.potar[i].borderStyle);
        knobs_[i]->onMouseDown = [&app, i](const MouseArgs& m) {
            app.potar_MouseDown(i, m.button, m.shift, m.x, m.y);
        };
    }
}

void DeskView::refresh() {
    if (form_.Picture11.picture.get() != shownPicture_) {
        shownPicture_ = form_.Picture11.picture.get();
        update();
    }
    if (form_.Picture11.pointer != shownPointer_) {
        shownPointer_ = form_.Picture11.pointer;
        setCursor(shownPointer_ == Pointer::UpArrow ? Qt::UpArrowCursor : Qt::ArrowCursor);
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
    const QPixmap& desk = pixmapOr(form_.Picture11.picture, BuiltinArt::get().desk);
    painter.drawPixmap(0, 0, desk);
}

}  // namespace lumiere::ui
