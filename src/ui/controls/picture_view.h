// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A control that shows a picture: a knob (a picture box, with its border), the switch or an image.
// Without a picture of its own it shows its built-in one (none for a transparent image).

#include <QPixmap>
#include <functional>

#include "model/controls.h"
#include "ui/controls/desk_control.h"
#include "ui/controls/painted.h"

namespace lumiere::ui {

class PictureView : public DeskControl {
    Q_OBJECT

public:
    PictureView(const PictureBox& model, QPixmap builtin, QWidget* parent);
    PictureView(const Image& model, QPixmap builtin, QWidget* parent);
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // What the view shows of either kind of model.
    struct Look {
        Geometry geo;
        Picture picture;
        int borderStyle = 0;
        bool operator==(const Look&) const = default;
    };

    std::function<Look()> read_;
    Painted<Look> shown_;
    QPixmap builtin_;
};

}  // namespace lumiere::ui
