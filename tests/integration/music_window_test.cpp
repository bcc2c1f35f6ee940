// SPDX-License-Identifier: GPL-3.0-or-later
// Following the music for real: a private sound server plays a 120 BPM dance track, or a real
// arrangement, into its null sink, and the real window, listening to that sink's monitor through
// "Musique", steps "Chennillard" once per beat on a pseudo-terminal, instead of every 150 ms.

#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <algorithm>
#include <fstream>

#include "app/application.h"
#include "devices/serial_port_window.h"
#include "dmx/dmx_window.h"
#include "dmx/ola_connection.h"
#include "link/posix_serial_port.h"
#include "music/music_window.h"
#include "support/beat_scoring.h"
#include "support/beat_set.h"
#include "support/beat_tracks.h"
#include "support/fake_platform.h"
#include "support/pty_peer.h"
#include "support/pulse_server.h"
#include "support/temp_folder.h"
#include "support/timed_frames.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"

namespace lumiere {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Lets the window's event loop run (its timers, the posted beats) for `duration`.
void runFor(std::chrono::milliseconds duration) {
    const auto end = Clock::now() + duration;
    while (Clock::now() < end) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

// The real window and its options as the program makes them, on a pseudo-terminal (COM9), with
// "Musique" listening to the monitor of `server`'s null sink; the desk switched on.
struct MusicDesk {
    explicit MusicDesk(const test::PulseServer& server)
        : modules{ui::musicModule(soundServer(music::PulseOptions{server.address()})),
                  ui::dmxModule(olaConnector()), ui::serialPortModule(folder.file("dev"))} {
        folder.write("param.ini", "[Port]\r\nCOM=9\r\n[Musique]\r\nActif=1\r\nEntree=" +
                                      server.monitor() + "\r\n");
        app.Form_Load();  // param.ini is read here, not before
        window.show();
        app.inter_Click();
    }
    const MusicOption& music() { return *app.find<MusicOption>(); }

    TempFolder folder;
    std::vector<ui::OptionModule> modules;
    test::PtyPeer peer{folder.file("COM9")};
    test::TimedFrames line{peer.farSide()};
    ui::QtPlatform platform{folder.path()};
    PosixSerialPort port;
    Application app{platform, port, ui::optionFactories(modules), AppConfig{folder.file("ttyS")}};
    ui::MainWindow window{app, platform, modules};
};

TEST(MusicThroughTheWindow, TheChaserStepsOncePerBeatOfTheMusicTheComputerPlays) {
    test::PulseServer server;
    ASSERT_TRUE(server.ready()) << server.failure();
    const std::string track = server.folder() + "/musique.wav";
    std::ofstream(track, std::ios::binary) << test::toWav(test::makeDanceTrack(120, 40).samples);
    const pid_t player = server.play(track);
    ASSERT_GT(player, 0);

    MusicDesk desk(server);
    ASSERT_TRUE(desk.peer.ready());
    Application& app = desk.app;
    test::TimedFrames& line = desk.line;
    const MusicOption& music = desk.music();
    app.Command11_Click(6);  // "Chennillard", at the master's 150 ms until the beat is found

    // The idle sink can take 2 s to deliver sound, and the beat locks a few seconds later.
    const auto deadline = Clock::now() + 25s;
    while (music.dialog().beats < 6 && Clock::now() < deadline) runFor(100ms);
    ASSERT_GE(music.dialog().beats, 6) << music.dialog().state;
    const std::size_t before = line.frames().size();
    const int beatsBefore = music.dialog().beats;
    runFor(6s);
    const std::vector<test::TimedFrames::Frame> frames = line.frames();
    test::PulseServer::stopProcess(player);

    const int beats = music.dialog().beats - beatsBefore;
    const auto steps = static_cast<int>(frames.size() - before);
    EXPECT_NEAR(beats, 12, 1);     // 6 s at 120 BPM
    EXPECT_NEAR(steps, beats, 1);  // one step per beat, not one per 150 ms (40)
    std::vector<double> intervals;
    for (std::size_t i = before + 1; i < frames.size(); ++i) {
        intervals.push_back(std::chrono::duration<double>(frames[i].at - frames[i - 1].at).count());
    }
    ASSERT_FALSE(intervals.empty());
    std::nth_element(intervals.begin(), intervals.begin() + intervals.size() / 2, intervals.end());
    EXPECT_NEAR(intervals[intervals.size() / 2], 0.5, 0.03);
    EXPECT_NEAR(music.dialog().bpm, 120, 1);

    // The dialog shows the tempo the steps follow.
    app.dispatch([&] { app.find<MusicOption>()->show(); });
    bool shown = false;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top == &desk.window || !top->isVisible()) continue;
        for (const QLabel* label : top->findChildren<QLabel*>()) {
            shown = shown || label->text() == QStringLiteral("Pulsation trouvée : 120 BPM");
        }
    }
    EXPECT_TRUE(shown);
}

TEST(MusicThroughTheWindow, TheChaserFollowsTheBeatOfARealArrangement) {
    // A swung jazz waltz at 150 BPM with real instruments (a GM soundfont), rendered by the build.
    const std::vector<test::Excerpt> excerpts = test::readMusicSet(LUMIERE_MUSIC_EXCERPTS, "dev");
    const auto excerpt = std::find_if(excerpts.begin(), excerpts.end(), [](const auto& e) {
        return e.name == "jazzwaltz-150-drums-clean";
    });
    if (excerpt == excerpts.end()) GTEST_SKIP() << "excerpts not rendered (fluidsynth, mma, sox)";
    const std::vector<double> truth = test::readBeats(excerpt->beatFile);
    test::PulseServer server;
    ASSERT_TRUE(server.ready()) << server.failure();

    MusicDesk desk(server);
    ASSERT_TRUE(desk.peer.ready());
    Application& app = desk.app;
    test::TimedFrames& line = desk.line;
    const MusicOption& music = desk.music();
    app.Command11_Click(6);
    runFor(500ms);  // the capture is connected before the music starts

    const auto started = Clock::now();
    const pid_t player = server.play(excerpt->wav);
    ASSERT_GT(player, 0);
    const auto deadline = started + 15s;
    while (music.dialog().beats < 4 && Clock::now() < deadline) runFor(100ms);
    ASSERT_GE(music.dialog().beats, 4) << music.dialog().state;
    const double lockedAt = std::chrono::duration<double>(Clock::now() - started).count();
    const std::size_t before = line.frames().size();
    runFor(8s);
    const std::vector<test::TimedFrames::Frame> frames = line.frames();
    test::PulseServer::stopProcess(player);

    // The steps, in seconds from the start of the playback, against the excerpt's beats at the
    // sound server's own delay (the idle sink takes up to 2 s to start): F ±70 ms.
    std::vector<double> steps;
    for (std::size_t i = before; i < frames.size(); ++i)
        steps.push_back(std::chrono::duration<double>(frames[i].at - started).count());
    ASSERT_FALSE(steps.empty());
    double best = 0;
    for (int ms = 0; ms <= 3000; ms += 2) {
        const double delay = ms / 1000.0;
        std::vector<double> shifted(steps), heard;
        for (double& t : shifted) t -= delay;
        for (double t : truth) {
            if (t <= shifted.back() + 0.2) heard.push_back(t);  // the beats played while measured
        }
        best = std::max(best, test::fMeasure(heard, shifted, lockedAt - delay + 0.5));
    }
    std::string times;
    for (double t : steps) times += " " + std::to_string(t);
    EXPECT_GE(best, 0.8) << "F of the steps; locked after " << lockedAt << " s, steps at" << times;
    EXPECT_NEAR(music.dialog().bpm, 150, 3);
}

}  // namespace
}  // namespace lumiere
