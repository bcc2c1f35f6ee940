// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two entries of param.ini and how start-up reads them. The virtual lamp controller reads the
// port the same way, so both always agree on COM<N>.

#include <cstddef>
#include <string>
#include <string_view>

namespace lumiere {

inline constexpr std::size_t kPortTextLimit = 4;      // characters of "COM" read at start-up
inline constexpr std::size_t kPictureNameLimit = 49;  // characters of "valeur" read at start-up

class Profile;

// The "COM" text of section "Port" as start-up reads it (at most 4 characters).
std::string portText(const Profile& profile);

// The "valeur" text of section "Table": the desk picture's file name as start-up reads it (at
// most 49 characters). A name written in UTF-8 by a Linux editor is read as the name it shows.
std::string pictureName(const Profile& profile);

// The port number of such a text: its leading number, rounded half to even; 0 (no port) when it
// has none or it does not fit a port number.
int startupPortNumber(std::string_view text);

// The serial device chosen by its path ("Peripherique" of section "Port"), used instead of the
// port number; empty when none is chosen.
std::string chosenDevice(const Profile& profile);
// Writes the chosen device, or removes the entry for an empty path (the port number counts
// again). Every other line stays as it was.
void writeChosenDevice(Profile& profile, const std::string& path);

}  // namespace lumiere
