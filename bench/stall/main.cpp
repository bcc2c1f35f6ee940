// SPDX-License-Identifier: GPL-3.0-or-later
// lumiere-stall-bench: does anything hold the window's thread? The channel blinker of the real
// program (its window and every one of its options, as main.cpp makes them, off as param.ini
// leaves them) puts a frame on a pseudo-terminal every 10 ms; its largest gap is printed beside
// that of a bare timerfd loop sending the same frames through the same link, in rounds that
// alternate in the same run (the machine's own noise moves both alike). While the window runs,
// every event that takes the window's thread for more than 3 ms is noted, with what received it.
// Prints figures; not a test. Meant to run under a virtual screen:
//
//   xvfb-run -a build/bench/bench/lumiere-stall-bench [rounds, default 5] [seconds, default 10]
//                                                    [--options-on]
//
// --options-on: "Musique", "Sortie DMX" and "Télécommande web" switched on in param.ini, with no
// sound server, no olad and no phone: the options keep trying, as they do on a user's machine
// where the daemon is missing.

#include <poll.h>
#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <typeinfo>
#include <vector>

#include "app/application.h"
#include "link/lamp_link.h"
#include "link/port_devices.h"
#include "link/posix_serial_port.h"
#include "program/program_options.h"
#include "support/far_side.h"
#include "ui/look.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"

namespace {

using lumiere::test::Arrival;
using lumiere::test::monotonicNs;

constexpr std::int64_t kSlowNs = 3'000'000;

std::int64_t threadCpuNs() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1'000'000'000LL + t.tv_nsec;
}

// Notes every event that holds the window's thread for more than 3 ms.
class TimedApplication final : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        const std::int64_t start = monotonicNs();
        const std::int64_t cpuStart = threadCpuNs();
        const int type = event->type();
        const bool done = QApplication::notify(receiver, event);
        const std::int64_t spent = monotonicNs() - start;
        if (watching && spent > kSlowNs) {
            const std::string what =
                std::string(receiver->metaObject()->className()) + " event " + std::to_string(type);
            Slow& s = slow[what];
            ++s.count;
            if (spent > s.longest) {
                s.longest = spent;
                s.cpuOfLongest = threadCpuNs() - cpuStart;
            }
        }
        return done;
    }
    bool watching = false;
    struct Slow {
        int count = 0;
        std::int64_t longest = 0;       // wall time
        std::int64_t cpuOfLongest = 0;  // of which the thread ran: the rest, it waited for a core
    };
    std::map<std::string, Slow> slow;
};

struct Gaps {
    std::size_t frames = 0;
    double p99 = 0;
    double max = 0;
};

Gaps gapsOf(const std::vector<Arrival>& arrivals) {
    std::vector<double> gaps;
    for (std::size_t i = 1; i < arrivals.size(); ++i)
        gaps.push_back((arrivals[i].ns - arrivals[i - 1].ns) / 1e6);
    Gaps g;
    g.frames = arrivals.size();
    if (gaps.empty()) return g;
    std::sort(gaps.begin(), gaps.end());
    g.p99 = gaps[std::min(gaps.size() - 1, gaps.size() * 99 / 100)];
    g.max = gaps.back();
    return g;
}

// The bare loop: a 10 ms timerfd, and the frame of every tick through the lamp link.
Gaps bareLoop(lumiere::test::FarSide& far, const std::string& folder, double seconds) {
    lumiere::PosixSerialPort port;
    lumiere::LampLink link(port, lumiere::PortDevices(folder, folder + "/ttyS"));
    link.setPortNumber(1);
    const int timer = ::timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC);
    itimerspec period{{0, 10'000'000}, {0, 10'000'000}};
    ::timerfd_settime(timer, 0, &period, nullptr);
    far.take();
    const std::int64_t end = monotonicNs() + static_cast<std::int64_t>(seconds * 1e9);
    int value = 0;
    while (monotonicNs() < end) {
        pollfd p{timer, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        std::uint64_t ticks = 0;
        if (::read(timer, &ticks, sizeof ticks) != sizeof ticks) continue;
        link.envoi(value);
        value = (value + 1) % 256;
    }
    ::close(timer);
    far.waitFor(1u << 30, 50);
    return gapsOf(far.take());
}

void runFor(double seconds) {
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool optionsOn = std::erase(args, "--options-on") > 0;
    const int rounds = !args.empty() ? std::max(1, std::atoi(args[0].c_str())) : 5;
    const double seconds = args.size() > 1 ? std::max(1.0, std::atof(args[1].c_str())) : 10.0;
    TimedApplication qapp(argc, argv);
    lumiere::ui::applyLook();

    lumiere::test::FarSide far;
    if (!far.ok()) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 1;
    }
    const std::string folder = far.makeProgramFolder("stall");
    if (optionsOn) {
        // No sound server answers there, no olad on that port: both keep trying.
        ::setenv("PULSE_SERVER", ("unix:" + folder + "/pas-de-serveur").c_str(), 1);
        std::FILE* ini = std::fopen((folder + "/param.ini").c_str(), "ab");
        std::fputs("[Musique]\r\nActif=1\r\n[DMX]\r\nActif=1\r\n[Web]\r\nActif=1\r\nPort=0\r\n",
                   ini);
        std::fclose(ini);
    }
    lumiere::ui::QtPlatform platform(folder);
    lumiere::PosixSerialPort port;
    const std::vector<lumiere::ui::OptionModule> options = lumiere::programOptions();
    lumiere::Application app(platform, port, lumiere::ui::optionFactories(options));
    lumiere::ui::MainWindow window(app, platform, options);
    app.Form_Load();
    window.show();
    runFor(1.0);  // first paint, settle

    std::printf("platform: %s, %d rounds of %.0f s, alternating; options %s\n",
                qPrintable(QGuiApplication::platformName()), rounds, seconds,
                optionsOn ? "Musique, Sortie DMX, Télécommande web on" : "off");
    std::printf("%-6s %-28s %-28s\n", "round", "bare timerfd loop", "Lumière's blinker");
    std::printf("%-6s %-28s %-28s\n", "", "frames  p99 ms  max ms", "frames  p99 ms  max ms");
    double worstBare = 0;
    double worstWindow = 0;
    for (int round = 1; round <= rounds; ++round) {
        const Gaps bare = bareLoop(far, folder, seconds);
        app.inter_Click();  // the desk on: the blinker sends every 10 ms
        far.take();
        qapp.watching = true;
        runFor(seconds);
        qapp.watching = false;
        app.inter_Click();  // off again: one all-off frame
        far.waitFor(1u << 30, 50);
        std::vector<Arrival> got = far.take();
        if (!got.empty()) got.pop_back();  // the all-off frame of the switch
        const Gaps lumiere = gapsOf(got);
        worstBare = std::max(worstBare, bare.max);
        worstWindow = std::max(worstWindow, lumiere.max);
        std::printf("%-6d %6zu  %6.2f  %6.2f        %6zu  %6.2f  %6.2f\n", round, bare.frames,
                    bare.p99, bare.max, lumiere.frames, lumiere.p99, lumiere.max);
        std::fflush(stdout);
    }
    std::printf("largest gap: bare loop %.2f ms, Lumière %.2f ms (%+.2f ms; target: within 5 ms)\n",
                worstBare, worstWindow, worstWindow - worstBare);
    if (qapp.slow.empty()) {
        std::printf("no event held the window's thread for more than 3 ms\n");
    } else {
        std::printf(
            "events that held the window's thread for more than 3 ms (wall), and how much\n"
            "of the longest the thread ran (the rest it waited for a core):\n");
        for (const auto& [what, s] : qapp.slow)
            std::printf("  %-45s %4d times, longest %.2f ms, of which it ran %.2f ms\n",
                        what.c_str(), s.count, s.longest / 1e6, s.cpuOfLongest / 1e6);
    }
    window.close();
    std::filesystem::remove_all(folder);
    return 0;
}
