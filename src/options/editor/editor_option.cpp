// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/editor_option.h"

#include <algorithm>

#include "model/form1.h"
#include "model/platform.h"
#include "model/values.h"
#include "playback/show.h"

namespace lumiere {

void AnimationEditorOption::show() {
    visible_ = true;
    ++shows_;
}

void AnimationEditorOption::close() {
    if (previewing_ && playing()) stopPreview();
    previewing_ = false;
    visible_ = false;
}

std::string AnimationEditorOption::programFolder() const {
    return context_.platform.programFolder();
}

bool AnimationEditorOption::playing() const {
    const bool pressed = std::any_of(context_.form.Command11.begin(), context_.form.Command11.end(),
                                     [](const CommandButton& button) { return button.italic; });
    return context_.show.timer1().enabled && context_.values.choix == 0 && !pressed;
}

std::string AnimationEditorOption::playPreview(const std::vector<std::string>& steps) {
    if (context_.values.marche != 1) {
        previewing_ = false;
        return "Le pupitre est à l’arrêt : mettez-le en marche (Marche / Arrêt) pour lire.";
    }
    // Steps changed while it plays are taken in where it stands.
    context_.desk.playSteps(steps, !(previewing_ && playing()));
    previewing_ = true;
    return {};
}

void AnimationEditorOption::stopPreview() {
    previewing_ = false;
    context_.desk.stopAll();
}

std::optional<int> AnimationEditorOption::previewStep() const {
    if (!previewing_ || !playing()) return std::nullopt;
    // The player's next step is `rang`, from 1: the step it showed last is two below, 0-based.
    const int shown = context_.show.nextStep() - 2;
    if (shown < 0) return std::nullopt;
    return shown;
}

OptionFactory makeAnimationEditorOption() {
    return [](OptionContext& context) { return std::make_unique<AnimationEditorOption>(context); };
}

}  // namespace lumiere
