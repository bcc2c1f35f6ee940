// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The whole application over a fake platform, a fake serial port, a fake OLA, a fake sound
// server and a temporary program folder holding a param.ini (port 1, desk picture
// "pupitre.bmp"), with the program's three options: Musique, Sortie DMX and Port série.

#include <memory>
#include <vector>

#include "app/application.h"
#include "devices/serial_port_option.h"
#include "dmx/dmx_option.h"
#include "music/music_option.h"
#include "support/fake_dmx_connection.h"
#include "support/fake_platform.h"
#include "support/fake_serial_port.h"
#include "support/fake_sound_server.h"
#include "support/temp_folder.h"

namespace lumiere::test {

struct AppRig {
    AppRig() {
        platform.folder = folder.path();
        folder.write("param.ini", "[Port]\r\nCOM=1\r\n[Table]\r\nvaleur=pupitre.bmp\r\n");
        app = std::make_unique<Application>(platform, port, options(), config());
        app->onChanged([this] { ++changes; });
    }
    // The machine's ports, its /dev, OLA and the sound server, all replaced: no test reaches a
    // real port or daemon.
    AppConfig config() { return {folder.file("ttyS")}; }
    DmxConnector dmxConnector() {
        return [this] {
            auto connection = std::make_unique<FakeDmxConnection>();
            dmx = connection.get();
            return connection;
        };
    }
    std::vector<OptionFactory> options() {
        return {makeMusicOption(sound.services()), makeDmxOption(dmxConnector()),
                makeSerialPortOption(folder.file("dev"))};
    }
    Application& operator*() { return *app; }
    Application* operator->() { return app.get(); }
    const Form1& form() const { return app->form(); }
    const AppValues& values() const { return app->values(); }
    const Form2& form2() const { return app->form2(); }

    // The options, bound to the application's dispatch as their dialogs are.
    BoundOption<MusicOption> music() { return {*app->find<MusicOption>(), *app}; }
    BoundOption<DmxOption> dmxOption() { return {*app->find<DmxOption>(), *app}; }
    BoundOption<SerialPortOption> serial() { return {*app->find<SerialPortOption>(), *app}; }

    // Start-up, then the desk switched on, with nothing sent yet.
    void loadAndSwitchOn() {
        app->Form_Load();
        app->inter_Click();
        port.clear();
    }

    TempFolder folder;
    FakePlatform platform;
    FakeSerialPort port;
    FakeDmxConnection* dmx = nullptr;  // the DMX output's connection, once it exists
    FakeSoundServer sound;
    std::unique_ptr<Application> app;
    int changes = 0;
};

}  // namespace lumiere::test
