#pragma once
// A vertical level gauge: a bar filling upwards, value between its minimum and maximum.

#include "model/controls.h"
#include "ui/controls/desk_control.h"

namespace lumiere::ui {

class GaugeView : public DeskControl {
public:
    GaugeView(const Gauge& model, QWidget* parent);
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Gauge& model_;
    Gauge shown_;
    bool first_ = true;
};

}  // namespace lumiere::ui
