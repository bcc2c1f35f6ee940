// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Options > "Éditeur d'animations…" (Ctrl+E): the editor's window, shown while the option says
// so, and its preview on the desk. "Lire" plays the grid's steps on the desk's lamps and on the
// line at the master's speed, as the Animation button plays the saved file (from the first
// step, no button shown pressed, refused while the desk is off, as the effect buttons are);
// "Arrêter" is the stop-all action. The preview ends as soon as the show plays something else:
// a button clicked, the stop-all action, the switch turned off.

#include <optional>
#include <string>
#include <vector>

#include "editor/animation_preview.h"
#include "option/option.h"

namespace lumiere {

class AnimationEditorOption final : public Option, public AnimationPreview {
public:
    explicit AnimationEditorOption(OptionContext& context) : context_(context) {}

    // No section of param.ini: the editor keeps nothing between sessions.
    void load(const Profile&) override {}
    void show() override;
    void close() override;

    bool visible() const override { return visible_; }
    // How many times the window was asked for: each time it is raised.
    int shows() const { return shows_; }
    std::string programFolder() const;

    std::string playPreview(const std::vector<std::string>& steps) override;
    void stopPreview() override;
    std::optional<int> previewStep() const override;

private:
    // The show still plays the preview's steps.
    bool playing() const;

    OptionContext& context_;
    bool visible_ = false;
    int shows_ = 0;
    bool previewing_ = false;
};

// The option as the application makes it.
OptionFactory makeAnimationEditorOption();

}  // namespace lumiere
