// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lumière's application: the main window's model with its life cycle (start-up, shutdown, menus,
// clock) and the subsystems put together. The windows forward every event here through the
// narrow interfaces of app/window_events.h, the option dialogs through the one dispatch; after
// each event the model tells the view once that it changed. Once shutdown has sent the all-off
// frame, events still queued are ignored.
//
// The options are a list the application knows only through their interface: main.cpp (or a
// test) says which options there are, and the application makes them, loads them at start-up,
// polls them with the clock and shuts them down.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/window_events.h"
#include "desk/desk_switch.h"
#include "desk/faders.h"
#include "desk/knob_selection.h"
#include "link/lamp_link.h"
#include "model/form1.h"
#include "model/form2.h"
#include "model/modal_guard.h"
#include "model/values.h"
#include "option/option.h"
#include "playback/show.h"
#include "sequences/command_buttons.h"
#include "sequences/sequence_runner.h"
#include "settings/settings_dialog.h"

namespace lumiere {

class Platform;
class SerialPort;

// The machine's own serial ports, injected so that tests choose their own.
struct AppConfig {
    std::string systemPorts = kSystemSerialPorts;
};

class Application final : public WindowEvents,
                          public DeskEvents,
                          public ControlEvents,
                          public SettingsEvents,
                          public OptionDispatch,
                          private DeskActions {
public:
    Application(Platform& platform, SerialPort& port, std::vector<OptionFactory> options = {},
                AppConfig config = {});
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    const Form1& form() const { return form_; }
    const Form2& form2() const { return form2_; }
    const AppValues& values() const { return values_; }
    const LampLink& link() const { return link_; }
    const Show& show() const { return show_; }
    const SequenceRunner& runner() const { return runner_; }
    void onChanged(std::function<void()> callback) { changed_ = std::move(callback); }

    // The options, in the order they were given.
    std::size_t optionCount() const { return options_.size(); }
    Option& option(std::size_t index) { return *options_.at(index); }
    // The first option of a kind, if there is one.
    template <typename Kind>
    Kind* find() {
        for (const auto& option : options_) {
            if (auto* kind = dynamic_cast<Kind*>(option.get())) return kind;
        }
        return nullptr;
    }
    // An event of an option's dialog, or of the option's own wake-up.
    void dispatch(const std::function<void()>& work) override { handle(work); }

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

    // What options may do on the desk, within their own event.
    void clickButton(int index) override;
    void stopAll() override;
    void clickSwitch() override;
    void playSteps(const std::vector<std::string>& steps, bool fromFirst) override;
    void moveMaster(int level) override;
    void runSequence(const std::string& path) override;
    bool sequenceRunning() const override { return runner_.running(); }
    bool modalOpen() const override { return platform_.modalOpen(); }

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
    OptionContext context_;
    std::vector<std::unique_ptr<Option>> options_;
    std::function<void()> changed_;
    bool ending_ = false;
};

}  // namespace lumiere
