// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A slider that reports the user's clicks the way the handlers expect them: once for every click,
// also one on the thumb that leaves the position where it was, and once at the end of a drag with
// the position the drag ended on, never for the positions a drag passes through. A key (arrows,
// Page Up/Down, Home, End) or a wheel step that moves the slider counts as a click at its new
// position; one that leaves it where it is does nothing. A click gives the slider the focus, so
// the keys move it afterwards.

#include <QSlider>

namespace lumiere::ui {

class ClickSlider : public QSlider {
    Q_OBJECT

public:
    ClickSlider(Qt::Orientation orientation, QWidget* parent);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    bool pressed_ = false;  // a button went down on the slider and has not come up yet
};

}  // namespace lumiere::ui
