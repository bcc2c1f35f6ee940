// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Options > "Sortie DMX…": the same show on a universe of the OLA daemon. This holds the dialog's
// model, the [DMX] entries of param.ini and the output itself, which is only created once the
// user (or param.ini) switches it on: with the option off nothing runs and nothing is sent.
// Every frame of the show reaches it as the show's mirror, and so do the lamps a click changed.

#include <cstdint>
#include <memory>
#include <string>

#include "dmx/dmx_connection.h"
#include "dmx/dmx_output.h"
#include "dmx/dmx_settings.h"
#include "option/option.h"
#include "playback/show.h"

namespace lumiere {

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

class DmxOption final : public Option, public LampMirror {
public:
    // An empty connector: this build cannot reach OLA, and the dialog says so.
    DmxOption(DmxConnector connector, OptionContext& context);
    ~DmxOption() override;
    DmxOption(const DmxOption&) = delete;
    DmxOption& operator=(const DmxOption&) = delete;

    const DmxDialog& dialog() const { return dialog_; }

    void load(const Profile& profile) override;
    void show() override;
    void close() override;
    bool visible() const override { return dialog_.visible; }
    // The connection state for the dialog and, once per episode, the status bar.
    void poll() override;
    // After the all-off frame: waits (half a second at most) until OLA has it.
    void shutdown() override;

    // Every frame's byte, and the lamps a click changed while no effect plays.
    void lamps(std::uint8_t byte) override;

    void setEnabled(bool enabled) { dialog_.enabled = enabled; }
    void setUniverse(const std::string& text) { dialog_.universe = text; }
    void setChannel(const std::string& text) { dialog_.channel = text; }
    void setLevel(const std::string& text) { dialog_.level = text; }
    // "Enregistrer": a box that holds no usable number refuses the whole save; otherwise the
    // settings go to param.ini and to the output at once.
    void save();

private:
    void apply(const DmxSettings& settings);
    void showSettings(const DmxSettings& settings);
    void clearMessage();

    DmxConnector connector_;
    OptionContext& context_;
    DmxDialog dialog_;
    std::unique_ptr<DmxOutput> output_;
};

// The option as the application makes it.
OptionFactory makeDmxOption(DmxConnector connector);

}  // namespace lumiere
