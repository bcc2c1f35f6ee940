// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The services the handlers need from the window system, injected into the core. The widget layer
// implements them; tests use fakes. Paths are file-system bytes (UTF-8); texts shown to the user
// are Windows-1252.

#include <functional>
#include <optional>
#include <string>

#include "model/controls.h"

namespace lumiere {

struct TimeOfDay {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
};

// A picture read from a file, or why it could not be: an errno value, kNotRegularFile (a folder,
// a pipe or a device) or kNotAPicture (text/french.h).
struct PictureLoad {
    Picture picture;  // null when the load failed
    int error = 0;
};

class Platform {
public:
    virtual ~Platform() = default;

    // Reads a picture file without ever blocking: only a regular file of a sane size is read.
    virtual PictureLoad loadPicture(const std::string& path) = 0;
    // Modal file dialogs; nothing when the user cancels.
    virtual std::optional<std::string> openFileDialog(const std::string& initialName) = 0;
    virtual std::optional<std::string> saveFileDialog(const std::string& initialName) = 0;
    // Opens a document in the application the desktop associates with it; false when none did.
    virtual bool openInEditor(const std::string& path) = 0;
    // Modal information box with one OK button.
    virtual void messageBox(const std::string& title, const std::string& text) = 0;
    virtual TimeOfDay timeOfDay() = 0;
    // Seconds on a clock that never jumps (not the time of day).
    virtual double monotonicSeconds() = 0;
    // The next number of a uniform series in [0, 1), the same series on every run.
    virtual double nextRandom() = 0;
    // The folder of the executable, without a trailing separator.
    virtual std::string programFolder() = 0;
    // Ends the application at once.
    virtual void endApplication() = 0;
    // Runs `work` on the window's thread, after the events already waiting: how another thread
    // (the sound capture) hands its results to the handlers.
    virtual void post(std::function<void()> work) = 0;
};

}  // namespace lumiere
