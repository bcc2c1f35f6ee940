// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Options > "Sortie DMX…": the same show on a universe of the OLA daemon. This holds the dialog's
// model, the [DMX] entries of param.ini and the output itself, which is only created once the
// user (or param.ini) switches it on: with the option off nothing runs and nothing is sent.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "dmx/dmx_connection.h"
#include "dmx/dmx_output.h"
#include "dmx/dmx_settings.h"
#include "model/form1.h"
#include "playback/show.h"

namespace lumiere {

class Profile;

// Opens the connection the output uses; the program's own is OLA on 127.0.0.1.
using DmxConnector = std::function<std::unique_ptr<DmxConnection>()>;
std::unique_ptr<DmxConnection> connectToOla();

// The dialog as the user sees it; texts are Windows-1252.
struct DmxDialog {
    bool visible = false;
    bool enabled = false;  // "Envoyer vers OLA"
    std::string universe;  // the texts of the three boxes, as typed
    std::string channel;
    std::string level;
    std::string state;    // the connection state
    std::string message;  // why the last "Enregistrer" was refused, or what it did
    bool saved = false;   // the last "Enregistrer" wrote param.ini

    bool operator==(const DmxDialog&) const = default;
};

class DmxOption final : public LampMirror {
public:
    DmxOption(DmxConnector connector, std::string profilePath);
    ~DmxOption();
    DmxOption(const DmxOption&) = delete;
    DmxOption& operator=(const DmxOption&) = delete;

    const DmxDialog& dialog() const { return dialog_; }

    // Start-up: the [DMX] section; what could not be used as written goes to the status bar.
    void load(const Profile& profile, StatusBar& status);

    // Every frame's byte, and the lamps a click changed while no effect plays.
    void lamps(std::uint8_t byte) override;

    void show();
    void close();
    void setEnabled(bool enabled) { dialog_.enabled = enabled; }
    void setUniverse(const std::string& text) { dialog_.universe = text; }
    void setChannel(const std::string& text) { dialog_.channel = text; }
    void setLevel(const std::string& text) { dialog_.level = text; }
    // "Enregistrer": a box that holds no usable number refuses the whole save; otherwise the
    // settings go to param.ini and to the output at once.
    void save();

    // Once a second: the connection state for the dialog and, once per episode, the status bar.
    void poll(StatusBar& status);
    // Shutdown, after the all-off frame: waits (half a second at most) until OLA has it.
    void shutdown();

private:
    void apply(const DmxSettings& settings);
    void showSettings(const DmxSettings& settings);
    void clearMessage();

    DmxConnector connector_;
    std::string profilePath_;
    DmxDialog dialog_;
    std::unique_ptr<DmxOutput> output_;
};

}  // namespace lumiere
