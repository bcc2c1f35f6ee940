// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the DMX output tells the window: one state and its French text (Windows-1252). Each change
// of state starts a new episode; the window says the text of an episode once.

#include <cstdint>
#include <string>

#include "dmx/dmx_frame.h"

namespace lumiere {

enum class DmxLinkState {
    Off,              // the output is switched off
    Connected,        // the daemon applies the frames
    NotResponding,    // not running, stopped, restarting or frozen: retried every second
    UniverseMissing,  // the daemon answers but has no such universe
    NotOla,  // what listens on OLA's port does not speak its protocol: retried every second
};

struct DmxStatus {
    DmxLinkState state = DmxLinkState::Off;
    std::uint64_t episode = 0;
    std::string text;
};

// The text of a state; `frame` names the universe and channels in use.
std::string describeDmxState(DmxLinkState state, const DmxFrame& frame);

}  // namespace lumiere
