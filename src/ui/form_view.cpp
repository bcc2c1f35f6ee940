// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/form_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QSlider>

#include "app/window_events.h"
#include "ui/builtin_art.h"
#include "ui/controls/click_slider.h"
#include "ui/controls/face_button.h"
#include "ui/controls/label_view.h"
#include "ui/desk_view.h"
#include "ui/qt_bridge.h"

namespace lumiere::ui {
namespace {

ClickSlider* makeSlider(const Slider& model, QWidget* parent) {
    auto* slider = new ClickSlider(Qt::Horizontal, parent);
    slider->setGeometry(toRect(model.geo));
    slider->setRange(model.min, model.max);
    slider->setValue(model.value);
    slider->setPageStep(1);
    slider->setToolTip(toQString(model.toolTip));
    return slider;
}

// Follows the model without reporting the change back as the user's.
void follow(QSlider* slider, const Slider& model) {
    if (slider->value() == model.value) return;
    const QSignalBlocker blocker(slider);
    slider->setValue(model.value);
}

}  // namespace

FormView::FormView(const Form1& form, DeskEvents& desk, ControlEvents& controls, QWidget* parent)
    : QWidget(parent), form_(form) {
    setFixedSize(toPixels(form_.clientWidth), toPixels(form_.clientHeight));
    setAttribute(Qt::WA_OpaquePaintEvent);

    labels_[0] = new LabelView(form_.montre, this);
    labels_[1] = new LabelView(form_.Label1[0], this);
    labels_[2] = new LabelView(form_.Label1[1], this);
    labels_[3] = new LabelView(form_.Label5, this);
    for (LabelView* label : {labels_[0], labels_[1], labels_[2]}) label->setAutoSize(true);
    // The status label may use the free room up to the animation buttons.
    labels_[3]->setAutoSize(true);
    labels_[3]->setMaxWidth(toPixels(form_.Command11[2].geo.left - form_.Label5.geo.left) - 2);
    QFont clock = labels_[0]->font();
    clock.setBold(true);
    labels_[0]->setFont(clock);

    desk_ = new DeskView(form_, desk, this);
    buildButtons(controls);
    buildSliders(controls);
}

void FormView::buildButtons(ControlEvents& events) {
    for (int i = 0; i < kButtons; ++i) {
        auto* button = new FaceButton(form_.Command11[i], BuiltinArt::get().face, this);
        connect(button, &QAbstractButton::clicked, this,
                [&events, i] { events.Command11_Click(i); });
        button->onMouseDown = [&events, i](const MouseArgs& m) {
            events.Command11_MouseDown(i, m.button, m.shift, m.x, m.y);
        };
        buttons_[i] = button;
    }
}

void FormView::buildSliders(ControlEvents& events) {
    slider1_ = makeSlider(form_.Slider1, this);
    slider1_->setTickPosition(QSlider::TicksBelow);
    connect(slider1_, &QSlider::valueChanged, this,
            [&events](int value) { events.Slider1_Scroll(value); });
    connect(slider1_, &ClickSlider::clicked, this, [&events] { events.Slider1_Click(); });
    slider2_ = makeSlider(form_.Slider2, this);
    connect(slider2_, &QSlider::valueChanged, this,
            [&events](int value) { events.Slider2_Scroll(value); });
}

void FormView::refresh() {
    for (LabelView* label : labels_) label->refresh();
    desk_->refresh();
    for (FaceButton* button : buttons_) button->refresh();
    follow(slider1_, form_.Slider1);
    follow(slider2_, form_.Slider2);
}

void FormView::paintEvent(QPaintEvent* event) {
    const BuiltinArt& art = BuiltinArt::get();
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.fillRect(rect(), QColor(211, 213, 216));
    painter.drawPixmap(toRect(form_.Image1.geo), pixmapOr(form_.Image1.picture, art.banner));
    painter.drawPixmap(toRect(form_.Image3.geo).topLeft(),
                       pixmapOr(form_.Image3.picture, art.title));
    painter.drawPixmap(toRect(form_.Image2.geo).topLeft(),
                       pixmapOr(form_.Image2.picture, art.background));
    painter.setPen(QPen(QColor(40, 40, 40), form_.Shape1.borderWidth));
    painter.drawRect(toRect(form_.Shape1.geo));
    painter.setPen(QPen(QColor(90, 92, 98), 1));
    painter.drawLine(toPixels(form_.Line1.x1), toPixels(form_.Line1.y1), toPixels(form_.Line1.x2),
                     toPixels(form_.Line1.y2));
}

}  // namespace lumiere::ui
