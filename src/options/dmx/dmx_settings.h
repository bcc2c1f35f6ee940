// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The DMX output settings, kept in param.ini under [DMX]:
//   Actif   0 or 1 (off by default)
//   Univers the OLA universe, 1 to 65535
//   Canal   the DMX channel of lamp 1, 1 to 505: the 8 lamps take it and the 7 after it
//   Niveau  the value of a lit lamp, 1 to 255 (255 by default)
// A value the dialog receives is refused when it is not a whole number in range; a value read
// from the file is brought into range instead, and the reader says so. Every text is
// Windows-1252 French, like the rest of the core.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumiere {

class Profile;

inline constexpr int kDmxChannels = 512;
inline constexpr int kDmxLamps = 8;
inline constexpr int kMaxUniverse = 65535;
inline constexpr int kMaxFirstChannel = kDmxChannels - kDmxLamps + 1;  // 505
inline constexpr int kMaxLevel = 255;

struct DmxSettings {
    bool enabled = false;
    int universe = 1;
    int firstChannel = 1;
    int level = kMaxLevel;

    bool operator==(const DmxSettings&) const = default;
};

// The three numbers of the dialog and of the file.
enum class DmxField { Universe, FirstChannel, Level };

// A value typed in the dialog: the number, or the French reason it is refused.
struct DmxFieldCheck {
    std::optional<int> value;
    std::string refusal;
};
DmxFieldCheck checkDmxField(DmxField field, std::string_view typed);

// The [DMX] section as start-up reads it, and one French note per entry that was not usable
// as written (a missing entry takes its default silently).
struct DmxSettingsRead {
    DmxSettings settings;
    std::vector<std::string> notes;
};
DmxSettingsRead readDmxSettings(const Profile& profile);

// Writes the four entries; every other line of the profile stays as it was.
void writeDmxSettings(Profile& profile, const DmxSettings& settings);

// "univers 1, canaux 1 à 8", for the status texts.
std::string describeDmxPatch(const DmxSettings& settings);

}  // namespace lumiere
