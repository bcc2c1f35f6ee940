// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A vertical level gauge: a bar filling upwards, value between its minimum and maximum.

#include "model/controls.h"
#include "ui/controls/desk_control.h"
#include "ui/controls/painted.h"

namespace lumiere::ui {

class GaugeView : public DeskControl {
    Q_OBJECT

public:
    GaugeView(const Gauge& model, QWidget* parent);
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Gauge& model_;
    Painted<Gauge> shown_;
};

}  // namespace lumiere::ui
