// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real main window over the fake platform and port, shown offscreen, with the dialogs of
// the rig's options.

#include <QTest>
#include <memory>

#include "devices/serial_port_window.h"
#include "dmx/dmx_window.h"
#include "music/music_window.h"
#include "support/app_rig.h"
#include "ui/desk_view.h"
#include "ui/form_view.h"
#include "ui/main_window.h"

namespace lumiere::test {

struct WindowRig : AppRig {
    WindowRig() {
        window = std::make_unique<ui::MainWindow>(*app, platform, modules());
        app->Form_Load();
        window->show();
        exposed = QTest::qWaitForWindowExposed(window.get());
    }
    // The modules of the rig's options, in the same order.
    std::vector<ui::OptionModule> modules() {
        return {ui::musicModule(sound.services()), ui::dmxModule(dmxConnector()),
                ui::serialPortModule(folder.file("dev"))};
    }
    ui::FormView& formView() { return *window->formView(); }
    ui::DeskView& desk() { return *window->formView()->desk(); }

    std::unique_ptr<ui::MainWindow> window;
    bool exposed = false;
};

// Twips relative to the desk picture to a point of the desk widget.
inline QPoint deskPoint(Twips x, Twips y) {
    return QPoint(int(x / 15), int(y / 15));
}

}  // namespace lumiere::test
