// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real main window over the fake platform and port, shown offscreen.

#include <QTest>
#include <memory>

#include "support/app_rig.h"
#include "ui/desk_view.h"
#include "ui/form_view.h"
#include "ui/main_window.h"

namespace lumiere::test {

struct WindowRig : AppRig {
    WindowRig() {
        window = std::make_unique<ui::MainWindow>(*app, platform);
        app->Form_Load();
        window->show();
        exposed = QTest::qWaitForWindowExposed(window.get());
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
