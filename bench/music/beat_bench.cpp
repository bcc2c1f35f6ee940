// SPDX-License-Identifier: GPL-3.0-or-later
// lumiere-beat-bench: how well and how cheaply the music follower finds the beats.
//
//   lumiere-beat-bench          synthetic tracks (30 s each) fed in 256-sample blocks, the size
//                               of a capture fragment, through BeatAnalysis (what BeatSource runs
//                               on the capture thread); aubio's own beats are scored beside it.
//   lumiere-beat-bench --live   the same through a private PulseAudio server: a track played into
//                               a null sink, captured from its monitor by BeatSource, with the
//                               process's CPU time.

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>

#include "music/beat_analysis.h"
#include "music/beat_source.h"
#include "support/beat_scoring.h"
#include "support/beat_tracks.h"
#include "support/pulse_server.h"

using namespace lumiere;

namespace {

constexpr double kScoredFrom = 4.0;  // seconds: the follower's lock-in time is not scored
constexpr double kTempoFrom = 8.0;   // seconds: the tempo is judged from there on
constexpr double kSettleAfterChange = 6.0;
constexpr std::size_t kBlock = music::kHopSize;

double cpuSeconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Row {
    test::BeatScore score;
    double bpmEnd = 0, bpmMaxError = 0, settle = 0, latencyMs = 0, cpuMsPerS = 0;
};

Row followTrack(const test::BeatTrack& track, bool aubioOnly) {
    Row row;
    std::vector<double> beats;
    // A track whose tempo changes (a step or a glide): the tempo is not judged from the change
    // to kSettleAfterChange after its end, and the settling time counts from its end.
    double changeFrom = 0, changeUntil = 0;
    for (std::size_t k = 0; k < track.tempi.size(); ++k) {
        if (std::abs(track.tempi[k] - track.tempi.front()) > 0.01 && changeFrom == 0)
            changeFrom = track.beats[k];
        if (std::abs(track.tempi[k] - track.tempi.back()) > 0.01) changeUntil = track.beats[k];
    }
    const bool changes = changeFrom > 0;
    changeUntil = std::max(changeUntil, changeFrom);
    const double start = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    music::BeatAnalysis analysis;
    music::BeatTracker tracker;
    music::AnalysisResult result;
    double lastWrong = 0;
    for (std::size_t i = 0; i < track.samples.size(); i += kBlock) {
        const std::span<const float> block(track.samples.data() + i,
                                           std::min(kBlock, track.samples.size() - i));
        if (aubioOnly) {
            tracker.feed(block, beats);
            continue;
        }
        analysis.process(block, result);
        const double now = analysis.streamTime();
        for (double beat : result.beats) {
            beats.push_back(beat);
            row.latencyMs = std::max(row.latencyMs, (now - beat) * 1000);
        }
        row.bpmEnd = result.bpm;
        if (track.beats.empty() || now < kTempoFrom) continue;
        const double error = std::abs(result.bpm - track.tempoAt(now));
        if (error > 0.5) lastWrong = now;
        if (changes && now >= changeFrom && now < changeUntil + kSettleAfterChange) continue;
        row.bpmMaxError = std::max(row.bpmMaxError, error);
    }
    const double cpu = cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - start;
    row.cpuMsPerS = cpu * 1000 / track.seconds();
    row.settle = changes ? std::max(0.0, lastWrong - changeUntil) : 0;
    if (aubioOnly) row.bpmEnd = tracker.aubioBpm();
    row.score = test::scoreBeats(track.beats, beats, kScoredFrom, track.seconds());
    return row;
}

void printRow(const char* method, const test::BeatTrack& track, const Row& row) {
    const double trueBpm = track.beats.empty() ? 0 : track.tempi.back();
    const bool aubio = std::strcmp(method, "aubio") == 0;
    char tempo[64] = "      -      -       -";
    if (!aubio)
        std::snprintf(tempo, sizeof tempo, "%7.2f %6.1f %7.1f", row.bpmMaxError, row.settle,
                      row.latencyMs);
    std::printf("%-15s %-6s %5.1f %% %5.1f %% %6.1f %7.2f %7.2f %s %6.2f %%\n", track.name.c_str(),
                method, 100 * row.score.foundShare(),
                track.beats.empty() ? 0.0 : 100 * row.score.extraShare(), row.score.medianErrorMs,
                row.bpmEnd, trueBpm == 0 ? row.bpmEnd : std::abs(row.bpmEnd - trueBpm), tempo,
                row.cpuMsPerS / 10);
    if (track.beats.empty())
        std::printf("%15s        (%d beats given in %.0f s)\n", "", row.score.extra,
                    track.seconds());
}

int offline() {
    std::vector<test::BeatTrack> tracks;
    for (double bpm : {90.0, 120.0, 150.0, 174.0}) tracks.push_back(test::makeDanceTrack(bpm, 30));
    tracks.push_back(test::makeTempoStepTrack(120, 128, 30));
    tracks.push_back(test::makeTempoRampTrack(120, 128, 30));
    tracks.push_back(test::makeClippedTrack(120, 30));
    tracks.push_back(test::makeClickTrack(300, 30));
    tracks.push_back(test::makeWhiteNoise(30));
    tracks.push_back(test::makeSilence(30));
    std::printf(
        "Beats scored after %.0f s within ±25 ms; tempo judged after %.0f s (a change and the "
        "%.0f s after it left out;\n'settle' = from the end of the change to the last tempo "
        "shown more than 0.5 BPM off). 'danse 120->128' steps at 15 s,\n'glisse 120->128' "
        "glides from 15 s to 23 s. 256-sample blocks. 'aubio' = aubio's own beats and tempo,\n"
        "'suivi' = the follower.\n\n",
        kScoredFrom, kTempoFrom, kSettleAfterChange);
    std::printf("%-15s %-6s %7s %7s %6s %7s %7s %7s %6s %7s %8s\n", "track", "method", "found",
                "extra", "med ms", "bpm", "err end", "err max", "settle", "late ms", "CPU");
    for (const auto& track : tracks) {
        printRow("aubio", track, followTrack(track, true));
        printRow("suivi", track, followTrack(track, false));
    }
    std::printf(
        "\nCPU = share of one core (ms of CPU per second of audio / 10). 'late ms' = the "
        "longest time between a beat and the block that gave it.\n");
    return 0;
}

int live() {
    test::PulseServer server;
    if (!server.ready()) {
        std::fprintf(stderr, "serveur de son privé : %s\n", server.failure().c_str());
        return 1;
    }
    const test::BeatTrack track = test::makeDanceTrack(120, 40);
    const std::string path = server.folder() + "/track.wav";
    std::ofstream(path, std::ios::binary) << test::toWav(track.samples);
    const pid_t player = server.play(path);
    std::mutex mutex;
    std::vector<double> beats;
    double bpm = 0;
    music::BeatSource source(music::PulseOptions{server.address()});
    music::BeatListener listener{[&](const music::BeatEvent& beat) {
                                     std::lock_guard lock(mutex);
                                     beats.push_back(beat.streamTime);
                                     bpm = beat.bpm;
                                 },
                                 {},
                                 {},
                                 [](music::MusicError, const std::string& message) {
                                     std::fprintf(stderr, "erreur : %s\n", message.c_str());
                                 }};
    source.start(music::SourceInfo{server.monitor(), "moniteur", true}, listener);
    std::this_thread::sleep_for(std::chrono::seconds(5));  // the sink wakes up, the clock locks
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    const auto wallStart = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(20));
    getrusage(RUSAGE_SELF, &after);
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    source.stop();
    test::PulseServer::stopProcess(player);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    const double cpu = seconds(after.ru_utime) - seconds(before.ru_utime) +
                       seconds(after.ru_stime) - seconds(before.ru_stime);
    std::lock_guard lock(mutex);
    std::printf(
        "live capture + analysis over %.1f s: %.2f ms of CPU per second (%.2f %% of one "
        "core), %zu beats, tempo shown %.2f BPM\n",
        wall, cpu * 1000 / wall, cpu * 100 / wall, beats.size(), bpm);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--live") == 0) return live();
    return offline();
}
