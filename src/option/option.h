// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every option is. An option goes beyond the desk: a folder of its own under src/options/,
// a dialog of its own in the "Options" menu, a section of its own in param.ini, and off until
// the user (or param.ini) switches it on. The application holds every option in one list and
// knows them only through this interface; main.cpp says which options the program has.
//
// Everything an option does runs on the window's thread, as one of the application's events:
// its dialog's events come through the application's dispatch, its own threads post their
// results with `OptionContext::post`. After each event the view follows the model.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lumiere {

class LampLink;
class Platform;
class Profile;
class SerialPort;
class Show;
struct AppValues;
struct Form1;

// The desk as the user works it, for an option that acts on the user's behalf (the editor's
// preview, a remote): each does what the same action on the desk does, within the option's own
// event.
class DeskActions {
public:
    // A click on Command11(index): an effect starts or stops as the switch allows.
    virtual void clickButton(int index) = 0;
    // The right click that stops everything: the run ends, the lamps go back to the blinker.
    virtual void stopAll() = 0;
    // A click on the switch "Marche / Arrêt".
    virtual void clickSwitch() = 0;
    // Plays `steps` (an animation file's lines, as its button reads them) as an Animation button
    // plays its file, no button shown pressed; `fromFirst` starts again from the first step.
    // The desk must be on.
    virtual void playSteps(const std::vector<std::string>& steps, bool fromFirst) = 0;
    // The master knob "Général" moved to the height of `level` (0 to 20).
    virtual void moveMaster(int level) = 0;
    // "Lancer  Séquence" clicked and `path` chosen in its file dialog.
    virtual void runSequence(const std::string& path) = 0;
    // A sequence is running.
    virtual bool sequenceRunning() const = 0;
    // A modal dialog of the desk is open (a file dialog, a message): the desk waits for it.
    virtual bool modalOpen() const = 0;

protected:
    ~DeskActions() = default;
};

// What an option may use of the application; all of it lives as long as the application.
struct OptionContext {
    Form1& form;  // the main window's model, its status bar among it
    const AppValues& values;
    Show& show;               // what runs, and every frame
    LampLink& link;           // the controller's serial line
    SerialPort& port;         // the serial port adapter, for a frame of the option's own
    Platform& platform;       // the window system's services (clock, program folder, dialogs)
    DeskActions& desk;        // what the user can do on the desk
    std::string profilePath;  // param.ini
    // Runs `work` on the window's thread as one of the application's events.
    std::function<void(std::function<void()>)> post;
};

class Option {
public:
    virtual ~Option() = default;

    // Start-up: the option's own section of param.ini. What cannot be used as written is
    // corrected and said once in the status bar; a missing entry takes its default silently.
    virtual void load(const Profile& profile) = 0;

    // The dialog: shown from the Options menu, closed by "Fermer", Escape or its close box.
    virtual void show() = 0;
    virtual void close() = 0;
    // Whether the dialog shows now.
    virtual bool visible() const = 0;

    // Once a second, with the clock.
    virtual void poll() {}

    // When the option wants `wake()` called (monotonic seconds), if it does.
    virtual std::optional<double> wakeAt() const { return std::nullopt; }
    virtual void wake() {}

    // Shutdown, after the all-off frame has gone out.
    virtual void shutdown() {}
};

// Makes an option for the application that owns the context.
using OptionFactory = std::function<std::unique_ptr<Option>(OptionContext&)>;

// Runs work on an option as one event of the application: nothing once the application has
// ended, and the view follows the model afterwards.
class OptionDispatch {
public:
    virtual void dispatch(const std::function<void()>& work) = 0;

protected:
    ~OptionDispatch() = default;
};

// An option of a known kind and the dispatch its dialog's events go through: the dialog reads
// the option's model through `->` and changes it only through `run`.
template <typename Kind>
class BoundOption {
public:
    BoundOption(Kind& option, OptionDispatch& dispatch) : option_(option), dispatch_(dispatch) {}

    const Kind& operator*() const { return option_; }
    const Kind* operator->() const { return &option_; }

    // `work` is called with the option: a lambda, or a member function without arguments.
    template <typename Work>
    void run(Work&& work) const {
        dispatch_.dispatch([&] { std::invoke(work, option_); });
    }

private:
    Kind& option_;
    OptionDispatch& dispatch_;
};

}  // namespace lumiere
