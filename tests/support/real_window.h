// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real window offscreen over the real serial-port adapter, in a temporary program folder
// whose param.ini selects port 9: a line linked there as COM9 is what the window drives. The
// machine's own ports are looked for in that folder too, so with the link gone there is no port
// behind it whatever the machine has. It has the program's options, each over the real thing
// (OLA, the sound server, /dev), off as param.ini leaves them.

#include <memory>
#include <vector>

#include "app/application.h"
#include "link/posix_serial_port.h"
#include "program/program_options.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"
#include "ui/form_view.h"
#include "ui/main_window.h"

namespace lumiere::test {

struct RealWindow {
    explicit RealWindow(std::vector<ui::OptionModule> modules = programOptions()) {
        folder.write("param.ini", "[Port]\r\nCOM=9\r\n");
        platform.folder = folder.path();
        app = std::make_unique<Application>(platform, port, ui::optionFactories(modules),
                                            AppConfig{folder.file("ttyS")});
        window = std::make_unique<ui::MainWindow>(*app, platform, modules);
        app->Form_Load();
        window->show();
    }
    std::string line() const { return folder.file("COM9"); }
    ui::FormView& view() { return *window->formView(); }

    TempFolder folder;
    FakePlatform platform;
    PosixSerialPort port;
    std::unique_ptr<Application> app;
    std::unique_ptr<ui::MainWindow> window;
};

}  // namespace lumiere::test
