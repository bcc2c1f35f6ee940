// SPDX-License-Identifier: GPL-3.0-or-later
// The real window plays on a pseudo-terminal with "Sortie DMX" on, against a real olad of the
// test's own (127.0.0.1, Dummy plugin only): the universe holds the same lamps as the frames on
// the line, a stopped olad is said once in the status bar while the line goes on, a restarted
// one gets the lamps again with no user action, and the all-off frame of "Quitter" reaches it.

#include <gtest/gtest.h>
#include <QLabel>
#include <QStatusBar>
#include <thread>

#include "app/application.h"
#include "dmx/dmx_window.h"
#include "dmx/ola_connection.h"
#include "link/posix_serial_port.h"
#include "support/fake_platform.h"
#include "support/ola_daemon.h"
#include "support/ola_universe_reader.h"
#include "support/pty_peer.h"
#include "support/temp_folder.h"
#include "support/waiting.h"
#include "text/cp1252.h"
#include "ui/main_window.h"

namespace lumiere {
namespace {

using namespace std::chrono_literals;

constexpr unsigned kUniverse = 2;
constexpr int kFirstChannel = 5;

using test::once;
using test::waitFor;

struct DmxWindow {
    explicit DmxWindow(std::uint16_t olaPort) : peer(folder.file("COM9")) {
        folder.write("param.ini",
                     "[Port]\r\nCOM=9\r\n[DMX]\r\nActif=1\r\nUnivers=" + std::to_string(kUniverse) +
                         "\r\nCanal=" + std::to_string(kFirstChannel) + "\r\nNiveau=200\r\n");
        platform.folder = folder.path();
        const std::vector<ui::OptionModule> modules = {
            ui::dmxModule([olaPort] { return std::make_unique<OlaConnection>(olaPort); })};
        app = std::make_unique<Application>(platform, port, ui::optionFactories(modules),
                                            AppConfig{folder.file("ttyS")});
        window = std::make_unique<ui::MainWindow>(*app, platform, modules);
        app->Form_Load();
        window->show();
    }
    // Plays `count` steps of the running effect, about as fast as the master's fastest speed.
    void play(int count) {
        for (int i = 0; i < count; ++i) {
            app->Timer1_Timer();
            std::this_thread::sleep_for(10ms);
        }
    }
    QString notice() const { return window->statusBar()->findChildren<QLabel*>().first()->text(); }

    TempFolder folder;
    test::PtyPeer peer;
    test::FakePlatform platform;
    PosixSerialPort port;
    std::unique_ptr<Application> app;
    std::unique_ptr<ui::MainWindow> window;
};

TEST(DmxThroughTheWindow, TheUniverseFollowsTheLineAndSurvivesARestartOfOla) {
    test::OlaDaemon olad(kUniverse);
    ASSERT_TRUE(olad.start()) << olad.log();
    test::OlaUniverseReader reader(olad.port(), kUniverse);
    ASSERT_TRUE(reader.start());
    DmxWindow w(olad.port());
    ASSERT_TRUE(w.peer.ready());

    w.app->inter_Click();
    w.app->Command11_Click(6);  // "Chennillard"
    w.play(40);
    const std::vector<int> line = w.peer.frames();
    ASSERT_EQ(line.size(), 40u);
    ASSERT_TRUE(reader.waitForLamps(line.back(), kFirstChannel, 3s));
    // Every frame in order (the universe starts dark, before the first frame).
    std::vector<int> universe = reader.lampSequence(kFirstChannel);
    ASSERT_FALSE(universe.empty());
    if (universe.front() == 0) universe.erase(universe.begin());
    EXPECT_EQ(universe, once(line));
    // A lit lamp is at the level param.ini gives, a dark one at 0.
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(reader.updates().back().channels[kFirstChannel - 1 + k],
                  (line.back() >> k) & 1 ? 200 : 0)
            << "lamp " << k + 1;
    }
    w.app->Timer3_Timer();
    EXPECT_TRUE(w.notice().contains(QStringLiteral("OLA reçoit les lampes")))
        << w.notice().toStdString();

    // olad stops: the line goes on, the status bar says it once.
    olad.stop();
    w.play(20);
    EXPECT_EQ(w.peer.frames().size(), 20u);
    ASSERT_TRUE(waitFor([&] {
        w.app->Timer3_Timer();
        return w.notice().contains(QStringLiteral("OLA ne répond pas"));
    }));
    w.app->Timer3_Timer();
    EXPECT_EQ(
        std::count(w.app->form().status.notice.begin(), w.app->form().status.notice.end(), '|'),
        0);  // said once, not once per second

    // olad is back: with no user action the universe gets the lamps again.
    ASSERT_TRUE(olad.start()) << olad.log();
    test::OlaUniverseReader again(olad.port(), kUniverse);
    ASSERT_TRUE(again.start());
    w.play(100);  // long enough for the reconnection, about once a second
    const int last = w.peer.frames().back();
    EXPECT_TRUE(again.waitForLamps(last, kFirstChannel, 3s));
    ASSERT_TRUE(waitFor([&] {
        w.app->Timer3_Timer();
        return w.notice().contains(QStringLiteral("OLA reçoit les lampes"));
    }));

    // "Quitter": the all-off frame is in the universe before the program ends.
    w.app->n_quit_Click();
    EXPECT_EQ(w.peer.frames().back(), 0);
    EXPECT_TRUE(again.waitForLamps(0, kFirstChannel, 1s));
}

}  // namespace
}  // namespace lumiere
