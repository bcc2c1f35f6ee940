// SPDX-License-Identifier: GPL-3.0-or-later
#include "sequences/sequence_runner.h"

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cmath>

#include "desk/faders.h"
#include "model/modal_guard.h"
#include "playback/show.h"
#include "sequences/button_clicker.h"
#include "sequences/sequence_files.h"
#include "text/cp1252.h"
#include "text/french.h"
#include "text/number.h"

namespace lumiere {
namespace {

// How long a suspended run waits before looking again.
constexpr double kHoldSeconds = 0.05;

// Knob tops from a hand-edited cycle file are kept within what a control position can hold.
Twips knobTop(double value) {
    if (std::isnan(value)) return 0;
    return static_cast<Twips>(std::clamp(value, -32768.0, 32767.0));
}

}  // namespace

void SequenceRunner::clickButtonsWith(ButtonClicker& buttons) {
    assert(buttons_ == nullptr);
    buttons_ = &buttons;
}

void SequenceRunner::deroule() {
    position_ = 1;
    values_.arret = 0;
    phase_ = Phase::NextStep;  // the first step comes after one pass of the event loop
    heldUntil_ = 0;
}

std::optional<double> SequenceRunner::wakeAt() const {
    switch (phase_) {
        case Phase::Idle:
            return std::nullopt;
        case Phase::NextStep:
            return heldUntil_;
        case Phase::Slice:
            return std::max(heldUntil_, sliceStart_ + form_.Slider2.value);
    }
    return std::nullopt;
}

void SequenceRunner::wake() {
    if (phase_ == Phase::Idle) return;
    const double now = platform_.monotonicSeconds();
    if (platform_.modalOpen()) {
        heldUntil_ = now + kHoldSeconds;
        return;
    }
    if (phase_ == Phase::NextStep) {
        takeStep();
    } else if (now - sliceStart_ >= form_.Slider2.value) {
        endSlice();
    }
}

void SequenceRunner::takeStep() {
    const std::string step = values_.sequence[position_];
    ++position_;
    if (position_ == kTableSize) position_ = 0;
    form_.Label5.caption = step;
    execute(step);
    sliceStart_ = platform_.monotonicSeconds();
    phase_ = Phase::Slice;
}

void SequenceRunner::execute(const std::string& step) {
    for (int k = 0; k <= 8; ++k) {
        if (step == form_.Command11[k].caption) return buttons_->Command11_Click(k);
    }
    if (step == "END") {
        position_ = 0;
    } else if (step.find("cycle") != std::string::npos) {
        applyCycle(step);
    }
}

void SequenceRunner::applyCycle(const std::string& step) {
    const std::string folder = platform_.programFolder();
    const std::string path = findCycleFile(folder, toUtf8(step));
    const int err = path.empty() ? ENOENT : loadCycle(path, values_.position);
    if (err != 0) {
        const std::string shown = path.empty() ? folder + "/" + toUtf8(step) + ".txt" : path;
        form_.status.note(fromUtf8("Cycle non appliqué, " + shown + " : ") + describeError(err));
        return;
    }
    for (int n = 0; n < kStrips; ++n)
        form_.potar[n].geo.top = knobTop(readNumber(values_.position[n]));
    values_.actif = 1;
    faders_.calcul_niveaux();
    show_.blinkChannels();
}

void SequenceRunner::endSlice() {
    show_.stopBlinker();
    phase_ = values_.arret == 0 ? Phase::NextStep : Phase::Idle;
    heldUntil_ = 0;
}

}  // namespace lumiere
