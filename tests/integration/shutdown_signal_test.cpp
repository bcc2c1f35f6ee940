// SPDX-License-Identifier: GPL-3.0-or-later
// Ending Lumière by a signal while the channel blinker sends a hundred frames a second: the
// all-off frame is the last frame on the line, every time, whatever tick was already queued.

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

#include "app/application.h"
#include "link/posix_serial_port.h"
#include "support/pty_peer.h"
#include "support/temp_folder.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"
#include "ui/termination_watch.h"

namespace lumiere {
namespace {

TEST(Shutdown, ASignalDuringTheBlinkerLeavesTheAllOffFrameLastOnTheLine) {
    std::mt19937 random(20261208);
    const int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
    for (int round = 0; round < 30; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        TempFolder folder;
        folder.write("param.ini", "[Port]\r\nCOM=9\r\n");
        test::PtyPeer peer(folder.file("COM9"));
        ASSERT_TRUE(peer.ready());

        ui::QtPlatform platform(folder.path());
        PosixSerialPort port;
        Application app(platform, port);
        // The watch before the window: a signal and a tick that wake the loop together are then
        // handled signal first, the order in which a tick is left queued behind the shutdown.
        ui::TerminationWatch watch([&app] { app.n_quit_Click(); });
        ui::MainWindow window(app, platform);
        app.Form_Load();
        window.show();
        // Every channel at level 8, lamp 2 lit by hand: it blinks against the seven others, so the
        // blinker never sends 0 and the all-off frame stands out.
        app.lampe_Click(1);
        app.Slider1_Scroll(3);
        app.Picture11_MouseMove(0, 0, 200, 2000);
        app.inter_Click();

        const auto delay = std::chrono::microseconds(20000 + random() % 80000);
        const int number = kSignals[round % 3];
        // The signal comes while the blinker runs: after its first frame is on the line (on a
        // busy machine the loop may take longer than the shortest delay to tick at all).
        std::thread sender([delay, number, line = peer.farSide()] {
            pollfd first{line, POLLIN, 0};
            ::poll(&first, 1, 2000);
            std::this_thread::sleep_for(delay);
            ::kill(::getpid(), number);
        });
        // A busy window (a slow repaint, a heavy handler) lets a tick and the signal pile up.
        QTimer busy;
        QObject::connect(&busy, &QTimer::timeout,
                         [] { std::this_thread::sleep_for(std::chrono::milliseconds(12)); });
        busy.start(15);
        QTimer::singleShot(5000, [] { QCoreApplication::exit(2); });  // a lost signal fails
        const int code = QApplication::exec();
        sender.join();
        ASSERT_EQ(code, 0);

        const std::vector<int> frames = peer.frames();
        ASSERT_GE(frames.size(), 2u);
        EXPECT_EQ(frames.back(), 0);
        EXPECT_EQ(std::count(frames.begin(), frames.end(), 0), 1);
        EXPECT_EQ(std::count(frames.begin(), frames.end(), -1), 0);
    }
}

}  // namespace
}  // namespace lumiere
