#pragma once
// A control that shows a picture: a knob, the switch, an image. Without a picture of its own it
// shows its built-in one (none for a transparent image).

#include <QPixmap>

#include "model/controls.h"
#include "ui/controls/desk_control.h"

namespace lumiere::ui {

class PictureView : public DeskControl {
public:
    PictureView(const Geometry& geometry, const Picture& picture, QPixmap builtin, QWidget* parent);
    // Knobs have a border style as well.
    void setBorderStyle(const int* borderStyle) { borderStyle_ = borderStyle; }
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Geometry& geometry_;
    const Picture& picture_;
    const int* borderStyle_ = nullptr;
    QPixmap builtin_;
    Geometry shownGeometry_;
    const PictureData* shownPicture_ = nullptr;
    int shownBorder_ = -1;
    bool first_ = true;
};

}  // namespace lumiere::ui
