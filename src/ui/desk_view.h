// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desk picture `Picture11` with the controls lying on it: lamps, level figures, gauges, knobs,
// the band below the tracks, the switch and its labels. Movements over the bare desk go to the
// fader tracking; movements over a control go to that control.

#include <array>

#include "model/form1.h"
#include "ui/controls/desk_control.h"
#include "ui/controls/painted.h"

namespace lumiere {
class DeskEvents;
}

namespace lumiere::ui {

class GaugeView;
class LabelView;
class PictureView;

class DeskView : public DeskControl {
    Q_OBJECT

public:
    DeskView(const Form1& form, DeskEvents& events, QWidget* parent);
    void refresh();

    PictureView* knob(int index) const { return knobs_[index]; }
    LabelView* lamp(int index) const { return lamps_[index]; }
    PictureView* toggle() const { return toggle_; }
    PictureView* band() const { return band_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void build(DeskEvents& events);

    const Form1& form_;
    std::array<LabelView*, kStrips> lamps_{};
    std::array<LabelView*, kStrips> levels_{};
    std::array<GaugeView*, kStrips> gauges_{};
    std::array<PictureView*, kStrips> knobs_{};
    PictureView* band_ = nullptr;
    PictureView* toggle_ = nullptr;
    std::array<LabelView*, 3> labels_{};
    Painted<PictureBox> shown_;  // the desk picture and its pointer
};

}  // namespace lumiere::ui
