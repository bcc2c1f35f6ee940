// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/program_options.h"

#include "devices/serial_port_window.h"
#include "dmx/dmx_window.h"
#include "dmx/ola_connection.h"
#include "editor/animation_editor_window.h"
#include "music/music_window.h"
#include "web/web_window.h"

namespace lumiere {

// One line per option. The concrete OLA and sound server are chosen here; a build without one
// gets an empty connection and its option says so.
std::vector<ui::OptionModule> programOptions() {
    return {
        ui::musicModule(soundServer()),  // Musique…: the desktop's sound server
        ui::dmxModule(olaConnector()),   // Sortie DMX…: olad on 127.0.0.1
        ui::serialPortModule(),          // Port série…: the devices of /dev
        ui::animationEditorModule(),     // Éditeur d'animations… (Ctrl+E)
        ui::webModule(),                 // Télécommande web…: the desk on a phone
    };
}

}  // namespace lumiere
