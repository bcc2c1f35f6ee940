#pragma once
// Lumière's application: the main window's model with its life cycle (start-up, shutdown, menus,
// clock) and the subsystems wired together. The widget layer forwards every event of the windows
// here; after each one the model tells the view once that it changed.

#include <functional>
#include <optional>
#include <string>

#include "app/modal_guard.h"
#include "desk/desk_switch.h"
#include "desk/faders.h"
#include "desk/knob_selection.h"
#include "link/lamp_link.h"
#include "model/form1.h"
#include "model/form2.h"
#include "model/values.h"
#include "playback/blinker.h"
#include "playback/player.h"
#include "sequences/command_buttons.h"
#include "sequences/sequence_runner.h"
#include "settings/settings_dialog.h"

namespace lumiere {

class Platform;
class SerialPort;

class Application {
public:
    Application(Platform& platform, SerialPort& port);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    const Form1& form() const { return form_; }
    const Form2& form2() const { return form2_; }
    const AppValues& values() const { return values_; }
    const LampLink& link() const { return link_; }
    const Player& player() const { return player_; }
    const SequenceRunner& runner() const { return runner_; }
    void onChanged(std::function<void()> callback) { changed_ = std::move(callback); }

    // Life cycle and menus.
    void Form_Load();
    void Form_Unload();
    void n_quit_Click();
    void n_a_propos_Click();
    void n_param_Click();

    // Timers.
    void Timer1_Timer();
    void Timer3_Timer();
    void Timer4_Timer();
    void runnerWake();

    // The desk.
    void Picture11_MouseMove(int button, int shift, Twips x, Twips y);
    void Picture11_MouseDown(int button, int shift, Twips x, Twips y);
    void potar_MouseDown(int index, int button, int shift, Twips x, Twips y);
    void Image4_MouseMove(int button, int shift, Twips x, Twips y);
    void inter_Click();
    void lampe_Click(int index);

    // Below the desk.
    void Command11_Click(int index);
    void Command11_MouseDown(int index, int button, int shift, Twips x, Twips y);
    void Slider1_Scroll(int value);  // the user moved the group selector
    void Slider1_Click();
    void Slider2_Scroll(int value);  // the user moved the step-length slider

    // The settings dialog.
    void Text1_Change(const std::string& text);
    void Text2_Change(const std::string& text);
    void Command2_Click();
    void Command12_Click();
    void Form2_Close();

private:
    // Runs one event's handler, then tells the view. Once shutdown has sent the all-off frame the
    // application is ending: an event still queued (a timer tick, a click) is ignored.
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
    Player player_;
    Blinker blinker_;
    Faders faders_;
    KnobSelection knobs_;
    DeskSwitch switch_;
    SequenceRunner runner_;
    CommandButtons buttons_;
    SettingsDialog settings_;
    std::function<void()> changed_;
    bool ending_ = false;
};

}  // namespace lumiere
