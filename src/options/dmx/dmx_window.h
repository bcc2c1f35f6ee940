// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Options > "Sortie DMX…", not modal: "Envoyer vers OLA", the universe, the first channel, the
// value of a lit lamp, the connection state, "Enregistrer" and "Fermer".

#include "dmx/dmx_option.h"
#include "ui/controls/painted.h"
#include "ui/option_window.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lumiere::ui {

class DmxWindow final : public OptionWindow {
public:
    DmxWindow(BoundOption<DmxOption> option, QWidget* parent);
    void refresh() override;

private:
    void closeClicked() override;

    BoundOption<DmxOption> option_;
    QCheckBox* enabled_ = nullptr;
    QLineEdit* universe_ = nullptr;
    QLineEdit* channel_ = nullptr;
    QLineEdit* level_ = nullptr;
    QLabel* state_ = nullptr;
    QLabel* message_ = nullptr;
    Painted<DmxDialog> shown_;
};

// Options > "Sortie DMX…", reaching OLA through `connector` (empty: this build lacks OLA).
OptionModule dmxModule(DmxConnector connector);

}  // namespace lumiere::ui
