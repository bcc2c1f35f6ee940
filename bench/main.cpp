// SPDX-License-Identifier: GPL-3.0-or-later
// Lumière's frame-timing benchmark: what a frame costs, how steadily the window's timers put
// frames on the line, the CPU it takes, and how fast the window starts. Prints one table.
//
//   build/bench/bench/lumiere-bench [seconds per timing phase, default 10]

#include <QApplication>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "figures.h"
#include "link_bench.h"
#include "startup_probe.h"
#include "timing_bench.h"
#include "ui/look.h"

using namespace lumiere::bench;

namespace {

void addLink(Table& t, const LinkFigures& f) {
    const double ratio = f.envoiUs.median > 0 ? f.qtUs.median / f.envoiUs.median : 0;
    t.add("envoi per frame: median", fixed(f.envoiUs.median, 1) + " us", "<= 50 us",
          f.envoiUs.median <= 50);
    t.add("envoi per frame: p99", fixed(f.envoiUs.p99, 1) + " us", "<= 200 us",
          f.envoiUs.p99 <= 200);
    t.add("envoi per frame: max", fixed(f.envoiUs.max, 1) + " us", "<= 2000 us",
          f.envoiUs.max <= 2000);
    t.add("envoi frames lost", std::to_string(f.envoiLost) + " of " + std::to_string(f.frames), "0",
          f.envoiLost == 0);
    t.note("QSerialPort per frame: median / p99 / max",
           fixed(f.qtUs.median, 1) + " / " + fixed(f.qtUs.p99, 1) + " / " + fixed(f.qtUs.max, 1) +
               " us (lost " + std::to_string(f.qtLost) + ")");
    t.add("QSerialPort / envoi (median)", fixed(ratio, 1) + "x", ">= 10x", ratio >= 10);
}

void addTiming(Table& t, const TimingFigures& f) {
    const PhaseFigures& b = f.blinker;
    t.add("blinker frame rate",
          fixed(b.framesPerSecond, 2) + " frames/s (" + std::to_string(b.frames) + ")",
          "100 +- 0.5", std::abs(b.framesPerSecond - 100) <= 0.5);
    t.note("blinker interval median", fixed(b.intervalMs.median, 2) + " ms");
    t.add("blinker interval p99", fixed(b.intervalMs.p99, 2) + " ms", "<= 11 ms",
          b.intervalMs.p99 <= 11);
    t.add("blinker interval max", fixed(b.intervalMs.max, 2) + " ms", "<= 20 ms",
          b.intervalMs.max <= 20);
    t.note("blinker interval at the write: median / p99 / max",
           fixed(f.blinkerWriteMs.median, 2) + " / " + fixed(f.blinkerWriteMs.p99, 2) + " / " +
               fixed(f.blinkerWriteMs.max, 2) + " ms");
    t.add("blinker byte sequence", b.sequenceExact ? "exact" : b.mismatch, "exact",
          b.sequenceExact);
    const PhaseFigures& c = f.chaser;
    t.add("Chennillard at 150 ms: rate",
          fixed(c.framesPerSecond, 3) + " frames/s (" + std::to_string(c.frames) + ")",
          "6.67 +- 1 %", std::abs(c.framesPerSecond - 1000.0 / 150) <= 0.01 * 1000.0 / 150);
    t.note("Chennillard interval median / p99 / max", fixed(c.intervalMs.median, 2) + " / " +
                                                          fixed(c.intervalMs.p99, 2) + " / " +
                                                          fixed(c.intervalMs.max, 2) + " ms");
    t.note("Chennillard interval at the write: median / p99 / max",
           fixed(f.chaserWriteMs.median, 2) + " / " + fixed(f.chaserWriteMs.p99, 2) + " / " +
               fixed(f.chaserWriteMs.max, 2) + " ms");
    t.add("Chennillard byte sequence", c.sequenceExact ? "exact" : c.mismatch, "exact",
          c.sequenceExact);
    t.add("CPU, blinker running", fixed(b.cpuPercent, 2) + " % of a core", "<= 3 %",
          b.cpuPercent <= 3);
    t.add("CPU, desk off (clock only)", fixed(f.idleCpuPercent, 3) + " % of a core", "<= 0.3 %",
          f.idleCpuPercent <= 0.3);
}

}  // namespace

int main(int argc, char** argv) {
    if (isStartupProbe(argc, argv)) return runStartupProbe(argc, argv);
    std::signal(SIGPIPE, SIG_IGN);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;

    std::printf("Start-up probe ...\n");
    std::fflush(stdout);
    const StartupFigures startup = measureStartup(argv[0]);

    QApplication app(argc, argv);
    lumiere::ui::applyLook();
    // Timing first: the link phase leaves the kernel busy for a while (QSerialPort's lock files).
    std::printf("Timing of the window's timers, %.0f s per phase ...\n", seconds);
    std::fflush(stdout);
    const TimingFigures timing = measureTiming(seconds);
    std::printf("Link cost, 10000 frames each way ...\n");
    std::fflush(stdout);
    const LinkFigures link = measureLink(10000);

    Table table;
    addLink(table, link);
    addTiming(table, timing);
    if (startup.ok) {
        table.add("start-up to first paint", fixed(startup.firstPaintMs, 1) + " ms", "<= 300 ms",
                  startup.firstPaintMs <= 300);
        table.add("peak resident memory", fixed(startup.peakMegabytes, 1) + " MB", "<= 80 MB",
                  startup.peakMegabytes <= 80);
    } else {
        table.note("start-up", "the probe did not report");
    }
    table.print();
    std::printf("\n%d target(s) missed.\n", table.missed());
    return link.frames > 0 && startup.ok ? 0 : 1;
}
