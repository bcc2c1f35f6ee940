// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Start-up as a user meets it: a fresh process that builds Lumière's window exactly as the
// program does, timed from the launch to the end of the window's first paint, and its peak
// resident memory after a few seconds with the desk on.

namespace lumiere::bench {

struct StartupFigures {
    bool ok = false;
    double firstPaintMs = 0;
    double peakMegabytes = 0;
};

// In the benchmark process: launches `self` as the probe and reads what it reports.
StartupFigures measureStartup(const char* self);

// In the probe process.
int runStartupProbe(int argc, char** argv);

}  // namespace lumiere::bench

namespace lumiere::bench {
bool isStartupProbe(int argc, char** argv);
}
