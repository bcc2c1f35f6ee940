// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The client area of the main window `Form1`, 692 × 470 pixels: the banner with the title and the
// clock, the desk, and below it the command buttons, the two sliders and the status label.

#include <QWidget>
#include <array>

#include "model/form1.h"

namespace lumiere {
class ControlEvents;
class DeskEvents;
}  // namespace lumiere

namespace lumiere::ui {

class ClickSlider;
class DeskView;
class FaceButton;
class LabelView;

class FormView : public QWidget {
    Q_OBJECT

public:
    FormView(const Form1& form, DeskEvents& desk, ControlEvents& controls, QWidget* parent);
    void refresh();

    DeskView* desk() const { return desk_; }
    FaceButton* button(int index) const { return buttons_[index]; }
    ClickSlider* groupSelector() const { return slider1_; }
    ClickSlider* stepLength() const { return slider2_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void buildButtons(ControlEvents& events);
    void buildSliders(ControlEvents& events);

    const Form1& form_;
    DeskView* desk_ = nullptr;
    std::array<FaceButton*, kButtons> buttons_{};
    ClickSlider* slider1_ = nullptr;
    ClickSlider* slider2_ = nullptr;
    std::array<LabelView*, 4> labels_{};  // clock, "Sélection multiple", "Vitesse Séquence", status
};

}  // namespace lumiere::ui
