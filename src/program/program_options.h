// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The options the program has, in the order of its Options menu. The program (main.cpp), the
// tests that run its own window and the benchmarks take them from here, so what they run is what
// users run.

#include <vector>

#include "ui/option_window.h"

namespace lumiere {

std::vector<ui::OptionModule> programOptions();

}  // namespace lumiere
