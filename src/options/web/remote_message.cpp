// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/remote_message.h"

#include <charconv>
#include <cmath>

#include "web/json_text.h"

namespace lumiere {
namespace {

void appendBool(std::string& out, bool value) {
    out += value ? "true" : "false";
}

template <std::size_t N>
void appendBools(std::string& out, const std::array<bool, N>& values) {
    out += '[';
    for (std::size_t i = 0; i < N; ++i) {
        if (i) out += ',';
        appendBool(out, values[i]);
    }
    out += ']';
}

// One decimal, whatever the locale (Qt programs run with the user's, which may write "122,5").
void appendTempo(std::string& out, double bpm) {
    if (!std::isfinite(bpm) || bpm < 0 || bpm > 1000) bpm = 0;
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, bpm, std::chars_format::fixed, 1);
    out.append(buffer, result.ptr);
}

std::string textMessage(std::string_view type, std::string_view reason) {
    std::string out = "{\"t\":\"";
    out += type;
    out += "\",\"raison\":";
    json::appendString(out, reason);
    out += '}';
    return out;
}

}  // namespace

std::string stateMessage(const RemoteState& state, std::uint64_t number) {
    std::string out;
    out.reserve(256);
    out += "{\"t\":\"etat\",\"n\":";
    out += std::to_string(number);
    out += ",\"lampes\":";
    appendBools(out, state.lamps);
    out += ",\"marche\":";
    appendBool(out, state.on);
    out += ",\"effets\":";
    appendBools(out, state.pressed);
    out += ",\"general\":";
    out += std::to_string(state.master);
    out += ",\"sequences\":[";
    for (std::size_t i = 0; i < state.sequences.size(); ++i) {
        if (i) out += ',';
        json::appendString(out, state.sequences[i]);
    }
    out += "],\"sequenceEnCours\":";
    appendBool(out, state.sequenceRunning);
    out += ",\"musique\":";
    appendBool(out, state.music);
    out += ",\"battements\":";
    out += std::to_string(state.beats);
    out += ",\"bpm\":";
    appendTempo(out, state.bpm);
    out += ",\"occupe\":";
    json::appendString(out, state.busy);
    out += '}';
    return out;
}

std::string refusalMessage(std::string_view reason) {
    return textMessage("refus", reason);
}

std::string closingMessage(std::string_view reason) {
    return textMessage("fin", reason);
}

}  // namespace lumiere
