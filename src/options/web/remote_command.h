// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a phone sends: one small flat JSON object per WebSocket message, read by a strict parser
// of our own (the fuzz build has no Qt). Accepted shapes:
//   {"c":"marche"}                 the switch "Marche / Arrêt"
//   {"c":"effet","n":1..9}         an effect button, in the desk's order
//   {"c":"stop"}                   "Tout arrêter"
//   {"c":"general","n":0..20}      the master "Général"
//   {"c":"lancer","nom":"..."}     run a sequence file
//   {"c":"arreter"}                "Arrêter la séquence"
//   {"vu":N}                       the page applied state N (measurement pages only)
// Anything else is refused with a French reason: broken JSON, nesting, duplicate or unknown keys,
// numbers out of range, a name that is no plain file name, more than kMaxMessageBytes.

#include <cstdint>
#include <string>
#include <string_view>

#include "web/remote_desk.h"

namespace lumiere {

struct PhoneMessage {
    enum class Kind { Command, Seen, Refused };
    Kind kind = Kind::Refused;
    RemoteCommand command;   // Kind::Command
    std::uint64_t seen = 0;  // Kind::Seen
    std::string refusal;     // Kind::Refused: the French reason (UTF-8)
};

inline constexpr std::size_t kMaxMessageBytes = 4096;
inline constexpr std::size_t kMaxNameBytes = 255;

PhoneMessage parsePhoneMessage(std::string_view text);

// A sequence file name as a phone may send it: 1 to kMaxNameBytes bytes of valid UTF-8, no
// control character, no '/' or '\\', not "." or "..".
bool isPlainFileName(std::string_view name);

// The JSON text of `command` as the page sends it (tests, the benchmark's phones).
std::string commandMessage(const RemoteCommand& command);

}  // namespace lumiere
