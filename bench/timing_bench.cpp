// SPDX-License-Identifier: GPL-3.0-or-later
#include "timing_bench.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QEventLoop>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/application.h"
#include "link/posix_serial_port.h"
#include "program/program_options.h"
#include "support/far_side.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"

namespace lumiere::bench {

using test::Arrival;
using test::FarSide;
using test::memoryKilobytes;
using test::monotonicNs;
namespace {

// A port that keeps the values it is given: the twin application below sends through it the
// sequence the real one must put on the line.
class RecordingPort final : public SerialPort {
public:
    std::vector<int> values;
    void setDevice(const std::string&) override {}
    int open() override { return (open_ = true, 0); }
    bool isOpen() const override { return open_; }
    int setDtr(bool) override { return 0; }
    int write(const std::uint8_t* data, std::size_t) override {
        values.push_back(data[1]);
        return 0;
    }
    int drain() override { return 0; }
    void close() override { open_ = false; }

private:
    bool open_ = false;
};

// The real port, noting when each frame is written: the window's own timing, before the line.
class TimedPort final : public SerialPort {
public:
    std::vector<std::int64_t> writes;
    void setDevice(const std::string& path) override { port_.setDevice(path); }
    int open() override { return port_.open(); }
    bool isOpen() const override { return port_.isOpen(); }
    int setDtr(bool on) override { return port_.setDtr(on); }
    int write(const std::uint8_t* data, std::size_t size) override {
        writes.push_back(monotonicNs());
        return port_.write(data, size);
    }
    int drain() override { return port_.drain(); }
    void close() override { port_.close(); }

private:
    PosixSerialPort port_;
};

Spread intervalsOf(const std::vector<std::int64_t>& times) {
    std::vector<double> intervals;
    for (std::size_t i = 1; i < times.size(); ++i)
        intervals.push_back((times[i] - times[i - 1]) / 1e6);
    return spreadOf(intervals);
}

double threadCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_THREAD, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs the event loop for `seconds`; returns the share of one core the window thread used.
double runFor(double seconds) {
    const double cpuBefore = threadCpuSeconds();
    const std::int64_t before = monotonicNs();
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
    const double wall = (monotonicNs() - before) / 1e9;
    return 100.0 * (threadCpuSeconds() - cpuBefore) / wall;
}

PhaseFigures judge(const std::vector<Arrival>& got, const std::vector<int>& expected,
                   double cpuPercent) {
    PhaseFigures f;
    f.frames = static_cast<int>(got.size());
    f.cpuPercent = cpuPercent;
    std::vector<double> intervals;
    for (std::size_t i = 1; i < got.size(); ++i) {
        intervals.push_back((got[i].ns - got[i - 1].ns) / 1e6);
    }
    f.intervalMs = spreadOf(intervals);
    if (got.size() > 1) {
        f.framesPerSecond = (got.size() - 1) / ((got.back().ns - got.front().ns) / 1e9);
    }
    f.sequenceExact = got.size() <= expected.size();
    for (std::size_t i = 0; i < got.size() && i < expected.size(); ++i) {
        if (got[i].value != expected[i]) {
            f.sequenceExact = false;
            f.mismatch = "frame " + std::to_string(i) + ": " + std::to_string(got[i].value) +
                         " instead of " + std::to_string(expected[i]);
            break;
        }
    }
    return f;
}

// The same handlers on a recording port, ticked `ticks` times.
std::vector<int> expectedFrames(Platform& platform, const std::function<void(Application&)>& setUp,
                                const std::function<void(Application&)>& tick, int ticks) {
    RecordingPort port;
    Application twin(platform, port);
    twin.Form_Load();
    setUp(twin);
    port.values.clear();
    for (int i = 0; i < ticks; ++i) tick(twin);
    return port.values;
}

}  // namespace

TimingFigures measureTiming(double secondsPerPhase) {
    TimingFigures figures;
    FarSide far;
    const std::string folder = far.makeProgramFolder("timing");

    ui::QtPlatform platform(folder);
    TimedPort port;
    // The program as users run it: its window with every option (off, as param.ini leaves them).
    const std::vector<ui::OptionModule> options = programOptions();
    Application app(platform, port, ui::optionFactories(options));
    ui::MainWindow window(app, platform, options);
    app.Form_Load();
    window.show();
    runFor(0.5);  // first paint, settle

    // The desk switched on: the channel blinker at the design knob positions.
    const auto switchOn = [](Application& a) { a.inter_Click(); };
    const auto blink = [](Application& a) { a.Timer4_Timer(); };
    switchOn(app);
    far.take();
    port.writes.clear();
    double cpu = runFor(secondsPerPhase);
    figures.blinkerWriteMs = intervalsOf(port.writes);
    far.waitFor(1u << 30, 50);
    auto got = far.take();
    figures.blinker = judge(got, expectedFrames(platform, switchOn, blink, int(got.size())), cpu);

    // "Chennillard" with the master knob at its design top: 150 ms a step.
    const auto chase = [](Application& a) {
        a.inter_Click();
        a.Picture11_MouseMove(0, 0, 100, 2000);
        a.Command11_Click(6);
    };
    app.Picture11_MouseMove(0, 0, 100, 2000);
    app.Command11_Click(6);
    port.writes.clear();
    cpu = runFor(secondsPerPhase);
    figures.chaserWriteMs = intervalsOf(port.writes);
    far.waitFor(1u << 30, 50);
    got = far.take();
    const auto step = [](Application& a) { a.Timer1_Timer(); };
    figures.chaser = judge(got, expectedFrames(platform, chase, step, int(got.size())), cpu);

    // The desk off: only the clock ticks.
    app.inter_Click();
    figures.idleCpuPercent = runFor(secondsPerPhase);
    std::filesystem::remove_all(folder);
    return figures;
}

}  // namespace lumiere::bench
