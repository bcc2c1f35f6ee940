// SPDX-License-Identifier: GPL-3.0-or-later
// A long show: the real window (offscreen) and its timers drive a pseudo-terminal, first with the
// channel blinker, then with a looping sequence of effects and cycle steps in 1-second slices.
// It fails (exit 1) when a frame is lost or doubled, when the frames do not match the time the
// players ran within 1 %, or when memory grows after the warm-up: the heap in use, and the
// resident memory too unless AddressSanitizer runs (its quarantine and caches move the resident
// figure by themselves; it is then only reported). Under AddressSanitizer a leak fails it at exit.
//
//   long_show [seconds]      (default 60; 600 for the ten-minute show)

#include <unistd.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "link/posix_serial_port.h"
#include "support/far_side.h"
#include "ui/look.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"
#include "ui/timer_binding.h"

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime (its header does not come with every compiler).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#define LUMIERE_UNDER_ASAN 1
#else
#include <malloc.h>
#define LUMIERE_UNDER_ASAN 0
#endif

using namespace lumiere;

namespace {

// Bytes of heap the program holds now.
double heapInUse() {
#if LUMIERE_UNDER_ASAN
    return static_cast<double>(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
#endif
}

double mean(const std::vector<double>& values, std::size_t from, std::size_t count) {
    double sum = 0;
    for (std::size_t i = from; i < from + count; ++i) sum += values[i];
    return sum / static_cast<double>(count);
}

// The Qt platform, with the open dialog answered by the show itself.
class ShowPlatform final : public Platform {
public:
    ShowPlatform(const std::string& folder, std::string sequence)
        : qt_(folder), sequence_(std::move(sequence)) {}
    PictureLoad loadPicture(const std::string& path) override { return qt_.loadPicture(path); }
    std::optional<std::string> openFileDialog(const std::string&) override { return sequence_; }
    std::optional<std::string> saveFileDialog(const std::string&) override { return {}; }
    bool openInEditor(const std::string&) override { return false; }
    void messageBox(const std::string&, const std::string&) override {}
    TimeOfDay timeOfDay() override { return qt_.timeOfDay(); }
    double monotonicSeconds() override { return qt_.monotonicSeconds(); }
    double nextRandom() override { return qt_.nextRandom(); }
    std::string programFolder() override { return qt_.programFolder(); }
    void endApplication() override {}
    void post(std::function<void()> work) override { qt_.post(std::move(work)); }

private:
    ui::QtPlatform qt_;
    std::string sequence_;
};

// Adds up the ticks each player's timer must have given: a run of d seconds at interval i gives
// floor(d / i) ticks; a run ends when the timer stops or restarts.
class TickLedger {
public:
    explicit TickLedger(const ui::TimerBinding& binding) : binding_(binding) {}
    void note(std::int64_t nowNs) {
        const auto& t = binding_.ticker();
        if (t.isActive() == active_ && t.starts() == starts_) return;
        close(nowNs);
        active_ = t.isActive();
        starts_ = t.starts();
        interval_ = t.interval();
        since_ = nowNs;
        ++runs_;
    }
    void close(std::int64_t nowNs) {
        if (active_) ticks_ += std::floor((nowNs - since_) / (interval_ * 1e6));
        active_ = false;
    }
    double ticks() const { return ticks_; }
    int runs() const { return runs_; }

private:
    const ui::TimerBinding& binding_;
    bool active_ = false;
    int starts_ = 0;
    int interval_ = 0;
    std::int64_t since_ = 0;
    double ticks_ = 0;
    int runs_ = 0;
};

void runFor(double seconds) {
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(seconds * 1000), Qt::PreciseTimer, &loop,
                       &QEventLoop::quit);
    loop.exec();
}

void write(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGXFSZ, SIG_IGN);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const double seconds = argc > 1 ? std::atof(argv[1]) : 60.0;
    QApplication qapp(argc, argv);
    ui::applyLook();

    test::FarSide far;
    const std::string folder = far.makeProgramFolder("show", 9);
    write(folder + "/animation1.txt", "1\r\n3\r\n7\r\n15\r\n31\r\nEND\r\n");
    write(folder + "/cycle_a.txt",
          "1000\r\n1100\r\n1200\r\n1300\r\n1400\r\n1500\r\n1600\r\n1700\r\n1920\r\n");
    write(folder + "/cycle_b.txt",
          "2400\r\n2300\r\n2200\r\n2100\r\n2000\r\n1900\r\n1800\r\n1700\r\n1920\r\n");
    write(folder + "/show.txt",
          "; a long show\r\nChennillard\r\ncycle_a\r\nAnimation 1\r\nAl\xE9"
          "atoire\r\ncycle_b\r\n"
          "Aller simple\r\nDouble Chennillard\r\nEND\r\n");

    int failures = 0;
    {
        ShowPlatform platform(folder, folder + "/show.txt");
        PosixSerialPort port;
        Application app(platform, port);
        ui::MainWindow window(app, platform);
        TickLedger player(window.timer1());
        TickLedger blinker(window.timer4());
        app.onChanged([&] {
            window.refresh();
            const std::int64_t now = test::monotonicNs();
            player.note(now);
            blinker.note(now);
        });
        app.Form_Load();
        window.show();
        runFor(0.3);

        const std::int64_t start = test::monotonicNs();
        app.inter_Click();
        runFor(seconds * 0.2);
        app.Slider2_Scroll(1);
        app.Command11_Click(9);
        const double warmUp = seconds * 0.25;
        runFor(warmUp - seconds * 0.2);
        // Frames are counted as they come, so the count itself takes no memory over the show.
        std::size_t received = far.take().size();
        const long rssAfterWarmUp = test::memoryKilobytes("VmRSS");
        long rssPeak = rssAfterWarmUp;
        const int samples = static_cast<int>(seconds - warmUp);
        std::string series;
        std::vector<double> heap;
        for (int i = 1; i <= samples; ++i) {
            runFor(1.0);
            received += far.take().size();
            const long rss = test::memoryKilobytes("VmRSS");
            rssPeak = std::max(rssPeak, rss);
            heap.push_back(heapInUse());
            if (i % 10 == 0) series += " " + std::to_string(rss / 1024.0).substr(0, 5);
        }
        const std::int64_t end = test::monotonicNs();
        player.close(end);
        blinker.close(end);
        far.waitFor(1u << 30, 100);
        received += far.take().size();
        const double expected = player.ticks() + blinker.ticks();
        const double runs = player.runs() + blinker.runs();
        const double elapsed = (end - start) / 1e9;

        std::printf(
            "show of %.1f s: %zu frames received, %llu sent, %.0f expected from %0.f timer runs"
            " (%.1f frames/s)\n",
            elapsed, received, static_cast<unsigned long long>(app.link().framesSent()), expected,
            runs, received / elapsed);
        std::printf("resident memory after warm-up %.1f MB, highest later %.1f MB; every 10 s:%s\n",
                    rssAfterWarmUp / 1024.0, rssPeak / 1024.0, series.c_str());
        std::printf(
            "sequence steps shown: %s, link: %s\n", app.form().Label5.caption.c_str(),
            app.form().status.linkFault.empty() ? "ok" : app.form().status.linkFault.c_str());
        if (received != app.link().framesSent() || far.strays() != 0) {
            std::printf("FAIL: frames lost or doubled on the line\n");
            ++failures;
        }
        if (std::abs(static_cast<double>(received) - expected) > 0.01 * expected) {
            std::printf("FAIL: frames do not match the time the players ran within 1 %%\n");
            ++failures;
        }
        const std::size_t span = std::min<std::size_t>(10, heap.size() / 2);
        const double heapGrowth =
            span == 0 ? 0 : mean(heap, heap.size() - span, span) - mean(heap, 0, span);
        std::printf("heap in use: %.0f kB growth between the first and the last %zu s\n",
                    heapGrowth / 1024, span);
        if (heapGrowth > 512 * 1024) {
            std::printf("FAIL: the heap grew by %.0f kB after the warm-up\n", heapGrowth / 1024);
            ++failures;
        }
        if (!LUMIERE_UNDER_ASAN && rssPeak - rssAfterWarmUp > 2048) {
            std::printf("FAIL: resident memory grew by %.1f MB after the warm-up\n",
                        (rssPeak - rssAfterWarmUp) / 1024.0);
            ++failures;
        }
        app.onChanged(nullptr);
    }
    std::filesystem::remove_all(folder);
    std::printf(failures == 0 ? "long show: ok\n" : "long show: %d failure(s)\n", failures);
    return failures == 0 ? 0 : 1;
}
