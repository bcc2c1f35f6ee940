// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the editor plays its steps on the desk before they are saved. The application implements
// it on the window's thread; the editor only calls it.

#include <optional>
#include <string>
#include <vector>

namespace lumiere {

class AnimationPreview {  // implemented by the application, on the window's thread
public:
    // Plays these steps (the file's lines as the player would read them: the etape texts from
    // entry 1) at the master's speed, as an Animation button would play the saved file; returns
    // an empty string, or why not (UTF-8 French: e.g. the desk is off, as the effect buttons
    // obey the switch). Called again with the new steps after each change while it plays: the
    // steps are then taken in without starting again from the first.
    virtual std::string playPreview(const std::vector<std::string>& steps) = 0;
    virtual void stopPreview() = 0;  // as the stop-all action does
    // 0-based step playing, from a successful playPreview until stopPreview or until the show
    // plays something else; nothing otherwise.
    virtual std::optional<int> previewStep() const = 0;

protected:
    ~AnimationPreview() = default;
};

}  // namespace lumiere
