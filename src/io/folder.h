// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Looking up names in a folder without regard to letter case, the one way Lumière and
// lumiere-sim both do it: a file written on a system that ignores case ("Cycle_1.txt" for the
// step "cycle_1", a link "com3" for port 3) is still found. Only ASCII letters are folded.

#include <string>
#include <string_view>
#include <vector>

namespace lumiere {

// True when the two names differ at most in the case of ASCII letters.
bool sameNameIgnoringCase(std::string_view a, std::string_view b);

// The entries of `folder` whose names match `name` without regard to case, the exact name first
// when it is there, the others in the order the folder lists them. Empty when the folder cannot
// be read.
std::vector<std::string> entriesNamedIgnoringCase(const std::string& folder, std::string_view name);

}  // namespace lumiere
