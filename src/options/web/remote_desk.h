// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the web remote knows of the desk: the state a phone shows, the commands a phone sends, and
// the narrow interface the application implements for them. Free of Qt; every text is UTF-8 (the
// application converts its Windows-1252 captions and file names at this edge).

#include <array>
#include <string>
#include <vector>

namespace lumiere {

inline constexpr int kRemoteLamps = 8;
inline constexpr int kRemoteEffects = 9;
inline constexpr int kRemoteMasterMax = 20;

// What a phone sees of the desk: built on the window's thread after every change.
struct RemoteState {
    std::array<bool, kRemoteLamps> lamps{};  // the desk's lamp row, left to right (lamps 1 to 8)
    bool on = false;                         // the desk switch "Marche / Arrêt"
    std::array<bool, kRemoteEffects> pressed{};  // the nine effect buttons, shown pressed
    int master = 0;                              // the master "Général" level, 0..20
    std::vector<std::string> sequences;          // sequence files of the program folder
    bool sequenceRunning = false;
    bool music = false;  // the music option is on: the page shows the beat lamp and the tempo
    int beats = 0;       // beats heard so far (the beat lamp flashes when it grows)
    double bpm = 0;      // 0: no beat found
    std::string busy;    // non-empty (French): a modal dialog is open on the desk; commands are
                         // refused and the page says this
    bool operator==(const RemoteState&) const = default;
};

// The captions of the nine effect buttons, as the desk shows them, in the order of
// RemoteCommand::value for Kind::Effect (1 to 9).
inline constexpr std::array<const char*, kRemoteEffects> kRemoteEffectCaptions = {
    "Animation 1",
    "Animation 2",
    "Animation 3",
    "Intérieur -> Extérieur",
    "Extérieur -> Intérieur",
    "Aléatoire",
    "Chennillard",
    "Double Chennillard",
    "Aller simple",
};

// A command from a phone, already checked for its shape and ranges: Effect has value 1..9,
// Master has value 0..20, RunSequence has a name (one of RemoteState::sequences when it reaches
// the desk); the others carry nothing.
struct RemoteCommand {
    enum class Kind { Switch, Effect, StopAll, Master, RunSequence, StopSequence };
    Kind kind = Kind::Switch;
    int value = 0;
    std::string name;
    bool operator==(const RemoteCommand&) const = default;
};

class RemoteDesk {  // implemented by the application, called on the window's thread only
public:
    virtual RemoteState remoteState() const = 0;
    // Runs the command exactly as the same click on the desk would; returns an empty string, or
    // the French reason it was refused.
    virtual std::string runRemote(const RemoteCommand& command) = 0;

protected:
    ~RemoteDesk() = default;
};

}  // namespace lumiere
