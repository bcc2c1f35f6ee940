// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lumière's application: the main window's model with its life cycle (start-up, shutdown, menus,
// clock) and the subsystems put together. The windows forward every event here through the
// narrow interfaces of app/window_events.h; after each one the model tells the view once that it
// changed. Once shutdown has sent the all-off frame, events still queued are ignored.

#include <functional>
#include <optional>
#include <string>

#include "app/dmx_option.h"
#include "app/music_option.h"
#include "app/serial_port_option.h"
#include "app/window_events.h"
#include "desk/desk_switch.h"
#include "desk/faders.h"
#include "desk/knob_selection.h"
#include "link/lamp_link.h"
#include "model/form1.h"
#include "model/form2.h"
#include "model/modal_guard.h"
#include "model/values.h"
#include "playback/show.h"
#include "sequences/command_buttons.h"
#include "sequences/sequence_runner.h"
#include "settings/settings_dialog.h"

namespace lumiere {

class Platform;
class SerialPort;

// The outside world beyond the window's own services, injected so that tests choose their own.
struct AppConfig {
    std::string systemPorts = kSystemSerialPorts;  // the machine's own serial ports
    DmxConnector dmxConnection = connectToOla;     // how the DMX output reaches OLA
    std::string devRoot = "/dev";                  // where the serial devices are listed from
    MusicServices music = soundServer();           // where the beats of the music come from
};

class Application final : public WindowEvents,
                          public DeskEvents,
                          public ControlEvents,
                          public SettingsEvents,
                          public DmxEvents,
                          public SerialPortEvents,
                          public MusicEvents {
public:
    Application(Platform& platform, SerialPort& port, AppConfig config = {});
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    const Form1& form() const { return form_; }
    const Form2& form2() const { return form2_; }
    const AppValues& values() const { return values_; }
    const LampLink& link() const { return link_; }
    const Show& show() const { return show_; }
    const SequenceRunner& runner() const { return runner_; }
    const DmxDialog& dmxDialog() const { return dmx_.dialog(); }
    const SerialPortDialog& serialDialog() const { return serial_.dialog(); }
    const MusicDialog& musicDialog() const { return music_.dialog(); }
    // When the next beat of a tapped tempo is due (monotonic seconds), while one is in force.
    std::optional<double> musicWakeAt() const { return music_.tapBeatAt(); }
    void onChanged(std::function<void()> callback) { changed_ = std::move(callback); }

    // Start-up, before the window is first shown.
    void Form_Load();
    // A notice from outside the window (how the program folder was prepared) for the status bar.
    void note(const std::string& text);

    void Form_Unload() override;
    void n_quit_Click() override;
    void n_a_propos_Click() override;
    void n_param_Click() override;
    void Timer1_Timer() override;
    void Timer3_Timer() override;
    void Timer4_Timer() override;
    void runnerWake() override;

    void Picture11_MouseMove(int button, int shift, Twips x, Twips y) override;
    void Picture11_MouseDown(int button, int shift, Twips x, Twips y) override;
    void potar_MouseDown(int index, int button, int shift, Twips x, Twips y) override;
    void Image4_MouseMove(int button, int shift, Twips x, Twips y) override;
    void inter_Click() override;
    void lampe_Click(int index) override;

    void Command11_Click(int index) override;
    void Command11_MouseDown(int index, int button, int shift, Twips x, Twips y) override;
    void Slider1_Scroll(int value) override;
    void Slider1_Click() override;
    void Slider2_Scroll(int value) override;

    void Text1_Change(const std::string& text) override;
    void Text2_Change(const std::string& text) override;
    void Command2_Click() override;
    void Command12_Click() override;
    void Form2_Close() override;

    void dmxShow() override;
    void dmxEnabledChange(bool enabled) override;
    void dmxUniverseChange(const std::string& text) override;
    void dmxChannelChange(const std::string& text) override;
    void dmxLevelChange(const std::string& text) override;
    void dmxSaveClick() override;
    void dmxCloseClick() override;

    void serialShow() override;
    void serialSelect(const std::string& path) override;
    void serialPoll() override;
    void serialTryClick() override;
    void serialUseClick() override;
    void serialCloseClick() override;

    void musicShow() override;
    void musicEnabledChange(bool enabled) override;
    void musicInputChange(const std::string& id) override;
    void musicSensitivityChange(int sensitivity) override;
    void musicRefreshClick() override;
    void musicTapClick() override;
    void musicSaveClick() override;
    void musicCloseClick() override;
    void musicTapWake() override;

private:
    // Runs one event's handler, then tells the view.
    template <typename Handler>
    void handle(Handler&& handler) {
        if (ending_) return;
        form_.status.gathering = false;
        handler();
        form_.status.linkFault = link_.fault();
        if (changed_) changed_();
    }
    void shutdown();

    ModalGuard platform_;
    Form1 form_;
    Form2 form2_;
    AppValues values_;
    LampLink link_;
    Show show_;
    Faders faders_;
    KnobSelection knobs_;
    DeskSwitch switch_;
    SequenceRunner runner_;
    CommandButtons buttons_;
    SettingsDialog settings_;
    DmxOption dmx_;
    SerialPortOption serial_;
    MusicOption music_;
    std::function<void()> changed_;
    bool ending_ = false;
};

}  // namespace lumiere
