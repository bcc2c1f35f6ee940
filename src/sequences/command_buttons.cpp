// SPDX-License-Identifier: GPL-3.0-or-later
#include "sequences/command_buttons.h"

#include <cerrno>

#include "io/text_file.h"
#include "model/mouse.h"
#include "model/picture_names.h"
#include "model/platform.h"
#include "model/program_files.h"
#include "playback/show.h"
#include "sequences/sequence_files.h"
#include "sequences/sequence_runner.h"
#include "text/cp1252.h"
#include "text/french.h"

namespace lumiere {
namespace {

std::string animationName(int index) {
    return "animation" + std::to_string(index + 1) + ".txt";
}

std::string fileProblem(const std::string& path, int err) {
    return fromUtf8(path + " : ") + describeError(err);
}

}  // namespace

void CommandButtons::releaseAll() {
    for (CommandButton& button : form_.Command11) {
        button.italic = false;
        loadPictureInto(platform_, form_, pictures::kButtonUp, button.picture);
    }
}

void CommandButtons::press(int index) {
    form_.Command11[index].italic = true;
    loadPictureInto(platform_, form_, pictures::kButtonDown, form_.Command11[index].picture);
}

void CommandButtons::Command11_Click(int index) {
    click(index, nullptr);
}

void CommandButtons::launchSequenceFile(const std::string& path) {
    click(9, &path);
}

void CommandButtons::click(int index, const std::string* chosen) {
    if (index < 0 || index >= kButtons) return;
    values_.choix = index;
    if (!form_.Command11[index].italic) {
        // A released button: everything is released, and with the desk on the effect plays.
        releaseAll();
        if (values_.marche == 1) {
            show_.play();
            press(index);
        } else {
            show_.stopBlinker();
        }
    } else {
        // The pressed button: its effect stops and the lamps go back to the blinker.
        show_.handBack();
        releaseAll();
    }
    if (index <= 2) loadAnimationOf(index);
    if (index == 9) launchSequence(chosen);
    if (index == 10) openInEditor("exemple.txt");
    if (index == 11) recordCycle();
}

void CommandButtons::loadAnimationOf(int index) {
    const std::string path = programFile(platform_, animationName(index));
    if (const int err = loadAnimation(path, values_.etape); err != 0) {
        form_.status.note(fileProblem(path, err));
    }
}

void CommandButtons::launchSequence(const std::string* chosen) {
    const auto path =
        chosen ? std::optional<std::string>(*chosen) : platform_.openFileDialog("*.txt");
    if (!path) return;
    // A name typed in the dialog that does not exist is treated like a cancel: nothing loads.
    Table steps = values_.sequence;
    if (const int err = loadSequence(*path, steps); err != 0) {
        form_.status.note(fileProblem(*path, err));
        return;
    }
    form_.Command11[9].underline = true;
    values_.sequence = std::move(steps);
    runner_.deroule();
}

void CommandButtons::recordCycle() {
    const auto path = platform_.saveFileDialog("Cycle_1.txt");
    if (!path) return;
    KnobTops tops{};
    for (int i = 0; i < kStrips; ++i) tops[i] = form_.potar[i].geo.top;
    if (const int err = saveCycle(*path, tops); err != 0) {
        form_.Label5.caption = fromUtf8("Non enregistré");
        form_.status.note(fromUtf8("Cycle non enregistré, ") + fileProblem(*path, err));
        return;
    }
    form_.Label5.caption = fromUtf8("Enregistré ");
}

void CommandButtons::openInEditor(std::string_view name) {
    const std::string path = programFile(platform_, name);
    if (!isRegularFile(path)) {
        form_.status.note(fileProblem(path, ENOENT));
    } else if (!platform_.openInEditor(path)) {
        form_.status.note(fromUtf8("Aucun éditeur n’a pu ouvrir " + path));
    }
}

void CommandButtons::stopAll() {
    values_.arret = 1;
    form_.Command11[9].underline = false;
    releaseAll();
    show_.handBack();
}

void CommandButtons::Command11_MouseDown(int index, int button, int, Twips, Twips) {
    if (index < 0 || index >= kButtons || button != mouse::kRight) return;
    if (index >= 3) {
        stopAll();
    } else {
        openInEditor(animationName(index));
    }
}

void CommandButtons::lampe_Click(int index) {
    if (index < 0 || index >= kStrips) return;
    toggleLamp(form_.lampe[index]);
    show_.lampsClicked();
}

}  // namespace lumiere
