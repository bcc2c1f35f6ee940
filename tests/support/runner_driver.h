// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drives the sequence runner on the fake clock the way the window's event loop would.

#include <algorithm>

#include "support/app_rig.h"

namespace lumiere::test {

// Calls every wake-up of the runner that falls due up to `until` seconds, then sets the clock
// there.
inline void runUntil(AppRig& rig, double until) {
    for (int guard = 0; guard < 100000; ++guard) {
        const auto due = rig->runner().wakeAt();
        if (!due || *due > until) break;
        rig.platform.seconds = std::max(rig.platform.seconds, *due);
        rig->runnerWake();
    }
    rig.platform.seconds = std::max(rig.platform.seconds, until);
}

inline void loadSequence(AppRig& rig, const std::string& utf8Lines) {
    rig.folder.write("seq.txt", utf8Lines);
    rig.platform.openAnswers.push_back(rig.folder.file("seq.txt"));
}

}  // namespace lumiere::test
