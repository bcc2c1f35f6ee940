// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The three kinds of light-programme file and the operations that move them between disk and the
// tables. Text is Windows-1252; a line that is valid UTF-8 (as Linux editors write it) is
// converted.
//
// - Animation file: one pattern step per line, stored unchanged from etape(1); "END" loops.
// - Sequence file: one step per line from sequence(1); a line starting with ";" is a comment and
//   is dropped; every other line, blank ones included, is stored without its surrounding spaces.
// - Cycle file: the nine knob tops, one per line from position(0); up to 11 lines are read.
// A load overwrites only the elements the file reaches and stops at the last element.

#include <array>
#include <istream>
#include <string>

#include "model/controls.h"
#include "model/form1.h"
#include "model/values.h"

namespace lumiere {

using Table = std::array<std::string, kTableSize>;
using Positions = std::array<std::string, kPositionSize>;
using KnobTops = std::array<Twips, kStrips>;

// Each returns the number of elements written.
int readAnimation(std::istream& in, Table& etape);
int readSequence(std::istream& in, Table& sequence);
int readCycle(std::istream& in, Positions& position);
// Nine lines, each knob top as plain decimal text followed by CR LF.
std::string formatCycle(const KnobTops& tops);

// The same on disk; each returns 0 or an errno value and leaves the table unchanged on failure.
int loadAnimation(const std::string& path, Table& etape);
int loadSequence(const std::string& path, Table& sequence);
int loadCycle(const std::string& path, Positions& position);
// Written to a temporary file and renamed over the target: the old file survives a failure.
int saveCycle(const std::string& path, const KnobTops& tops);

// The file a cycle step names: `folder`/`name`.txt when it exists, otherwise an entry of the same
// folder whose name matches without regard to letter case. Empty when there is none.
std::string findCycleFile(const std::string& folder, const std::string& name);

}  // namespace lumiere
