// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a phone gets: one JSON object per WebSocket text message, always valid UTF-8.
//   {"t":"etat","n":N,"lampes":[...8 booleans],"marche":b,"effets":[...9 booleans],"general":0..20,
//    "sequences":["..."],"sequenceEnCours":b,"musique":b,"battements":N,"bpm":122.5,"occupe":"..."}
//   {"t":"refus","raison":"..."}   a command was refused or ignored (the page shows the reason)
//   {"t":"fin","raison":"..."}     the server closes this connection (too many phones, new code)
// N grows by one with each state the window builds; the page may report it back ({"vu":N}).

#include <cstdint>
#include <string>
#include <string_view>

#include "web/remote_desk.h"

namespace lumiere {

std::string stateMessage(const RemoteState& state, std::uint64_t number);
std::string refusalMessage(std::string_view reason);
std::string closingMessage(std::string_view reason);

}  // namespace lumiere
