// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A command button drawn with its face picture and its caption: italic while pressed, underlined
// while a sequence runs. A left click is a click; every button going down is reported as well,
// so a right click reaches its handler without producing a click.

#include <QAbstractButton>
#include <QPixmap>
#include <functional>

#include "model/controls.h"
#include "ui/controls/mouse_args.h"
#include "ui/controls/painted.h"

namespace lumiere::ui {

class FaceButton : public QAbstractButton {
    Q_OBJECT

public:
    FaceButton(const CommandButton& model, QPixmap builtinFace, QWidget* parent);
    void refresh();

    std::function<void(const MouseArgs&)> onMouseDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const CommandButton& model_;
    QPixmap builtin_;
    Painted<CommandButton> shown_;
};

}  // namespace lumiere::ui
