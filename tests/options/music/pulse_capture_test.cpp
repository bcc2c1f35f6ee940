// SPDX-License-Identifier: GPL-3.0-or-later
// Capture through a private PulseAudio server: music played into its null sink is captured from
// the sink's monitor, as Lumière captures what the computer plays.

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <fstream>
#include <mutex>

#include "music/beat_source.h"
#include "support/beat_tracks.h"
#include "support/pulse_server.h"

using namespace lumiere::music;
using namespace std::chrono_literals;
using lumiere::test::PulseServer;

namespace {

// What the capture thread reported, read by the test thread.
class Reports {
public:
    BeatListener listener() {
        return BeatListener{[this](const BeatEvent& beat) { add([&] { beats_.push_back(beat); }); },
                            [this](const Level& level) {
                                add([&] {
                                    peak_ = std::max(peak_, level.peak);
                                    ++levels_;
                                });
                            },
                            [this](double bpm) { add([&] { bpm_ = bpm; }); },
                            [this](MusicError error, const std::string& message) {
                                add([&] {
                                    errors_.push_back(error);
                                    message_ = message;
                                });
                            }};
    }
    // Waits (at most `timeout`) until `done` holds.
    template <typename Condition>
    bool waitFor(std::chrono::milliseconds timeout, Condition done) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return done(*this); });
    }
    std::vector<BeatEvent> beats_;
    std::vector<MusicError> errors_;
    std::string message_;
    float peak_ = 0;
    int levels_ = 0;
    double bpm_ = 0;

private:
    template <typename Change>
    void add(Change change) {
        {
            std::lock_guard lock(mutex_);
            change();
        }
        changed_.notify_all();
    }
    std::mutex mutex_;
    std::condition_variable changed_;
};

std::string writeTrack(const PulseServer& server, const lumiere::test::BeatTrack& track) {
    const std::string path = server.folder() + "/track.wav";
    std::ofstream(path, std::ios::binary) << lumiere::test::toWav(track.samples);
    return path;
}

}  // namespace

TEST(PulseCapture, ListsTheMonitorAndFollowsMusicPlayedIntoTheSink) {
    PulseServer server;
    ASSERT_TRUE(server.ready()) << server.failure();
    const SourceList list = listSources(PulseOptions{server.address()});
    ASSERT_FALSE(list.error);
    const auto monitor =
        std::find_if(list.sources.begin(), list.sources.end(),
                     [&](const SourceInfo& s) { return s.id == server.monitor(); });
    ASSERT_NE(monitor, list.sources.end());
    EXPECT_TRUE(monitor->monitor);
    EXPECT_FALSE(monitor->description.empty());

    const pid_t player = server.play(writeTrack(server, lumiere::test::makeDanceTrack(120, 30)));
    ASSERT_GT(player, 0);
    Reports reports;
    BeatSource source(PulseOptions{server.address()});
    ASSERT_TRUE(source.start(*monitor, reports.listener()));
    // The idle null sink may take 2 s to deliver its first sound; then the clock locks in a few
    // seconds.
    const bool enough = reports.waitFor(25s, [](Reports& r) { return r.beats_.size() >= 10; });
    source.stop();
    PulseServer::stopProcess(player);
    ASSERT_TRUE(enough) << reports.beats_.size() << " temps";
    EXPECT_TRUE(reports.errors_.empty()) << reports.message_;
    EXPECT_GT(reports.peak_, 0.1f);
    EXPECT_NEAR(reports.bpm_, 120.0, 1.0);
    std::vector<double> intervals;
    for (std::size_t i = 1; i < reports.beats_.size(); ++i) {
        intervals.push_back(reports.beats_[i].streamTime - reports.beats_[i - 1].streamTime);
    }
    std::nth_element(intervals.begin(), intervals.begin() + intervals.size() / 2, intervals.end());
    EXPECT_NEAR(intervals[intervals.size() / 2], 0.5, 0.01);
    // The steady-clock time of a beat is its stream time plus a constant, to a few ms.
    const auto& first = reports.beats_.front();
    const auto& last = reports.beats_.back();
    const double heard = std::chrono::duration<double>(last.heard - first.heard).count();
    EXPECT_NEAR(heard, last.streamTime - first.streamTime, 0.03);
}

TEST(PulseCapture, NoServerIsToldAtOnce) {
    const PulseOptions nowhere{"unix:/nonexistent/lumiere/native"};
    const auto before = MusicClock::now();
    const SourceList list = listSources(nowhere);
    EXPECT_EQ(list.error, MusicError::NoServer);
    EXPECT_TRUE(list.sources.empty());

    Reports reports;
    BeatSource source(nowhere);
    source.start(SourceInfo{}, reports.listener());
    ASSERT_TRUE(reports.waitFor(2s, [](Reports& r) { return !r.errors_.empty(); }));
    EXPECT_LT(MusicClock::now() - before, 2s);
    EXPECT_EQ(reports.errors_.front(), MusicError::NoServer);
    EXPECT_EQ(reports.message_, describeMusicError(MusicError::NoServer));
    source.stop();
}

TEST(PulseCapture, AServerThatDiesOrAnInputRemovedMidCaptureIsAnErrorNotAHang) {
    PulseServer server;
    ASSERT_TRUE(server.ready()) << server.failure();
    const SourceInfo monitor{server.monitor(), "Moniteur de test", true};
    {
        Reports reports;
        BeatSource source(PulseOptions{server.address()});
        ASSERT_TRUE(source.start(monitor, reports.listener()));
        ASSERT_TRUE(reports.waitFor(5s, [](Reports& r) { return r.levels_ > 0; }));
        ASSERT_TRUE(server.pactl("unload-module module-null-sink"));
        ASSERT_TRUE(reports.waitFor(5s, [](Reports& r) { return !r.errors_.empty(); }));
        EXPECT_EQ(reports.errors_, std::vector<MusicError>{MusicError::SourceGone});
        EXPECT_NE(reports.message_.find("Moniteur de test"), std::string::npos);
        source.stop();
    }
    ASSERT_TRUE(
        server.pactl(std::string("load-module module-null-sink sink_name=") + PulseServer::kSink));
    Reports reports;
    BeatSource source(PulseOptions{server.address()});
    ASSERT_TRUE(source.start(monitor, reports.listener()));
    ASSERT_TRUE(reports.waitFor(5s, [](Reports& r) { return r.levels_ > 0; }));
    server.stop();
    ASSERT_TRUE(reports.waitFor(5s, [](Reports& r) { return !r.errors_.empty(); }));
    EXPECT_EQ(reports.errors_, std::vector<MusicError>{MusicError::NoServer});
    source.stop();
}
