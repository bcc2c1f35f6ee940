// SPDX-License-Identifier: GPL-3.0-or-later
// lumiere-real-beat-bench: how well the music follower finds the beats of real arrangements,
// beside aubio's own tracker alone, on the same files in the same run.
//
//   lumiere-real-beat-bench [--set dev|games|heldout] [--folder DIR] [--files] [--only TEXT]
//
// The sets are built by scripts/music-set.sh (default folder: build/music-set of the source
// tree). "suivi" is Lumière's analysis as live capture runs it: BeatAnalysis fed in blocks of a
// capture fragment (256 samples); "aubio" is aubio_tempo "default" with its defaults (window
// 1024, hop 512), a beat where it flags one. Both are judged on the time each beat is given
// (the end of the block that gives it), as the lights would step: F-measure ±70 ms with the
// first 5 s left out, after the best constant latency within −50..+100 ms (MIREX's rules), the F
// at any metrical level (off-beat, double, half), and that latency.

#include <aubio/aubio.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "music/beat_analysis.h"
#include "support/beat_scoring.h"
#include "support/beat_set.h"
#include "support/beat_tracks.h"

using namespace lumiere;

namespace {

constexpr std::size_t kCaptureBlock = music::kHopSize;  // a capture fragment
constexpr int kAubioHop = 512, kAubioWindow = 1024;

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Run {
    std::vector<double> beats;  // when each beat was given, stream seconds
    double cpu = 0;             // thread CPU seconds
    double lastBpm = 0;         // the tempo shown at the end (suivi)
};

Run follow(const std::vector<float>& mono) {
    Run run;
    const double start = threadSeconds();
    music::BeatAnalysis analysis;
    music::AnalysisResult result;
    for (std::size_t i = 0; i < mono.size(); i += kCaptureBlock) {
        const std::size_t n = std::min(kCaptureBlock, mono.size() - i);
        analysis.process(std::span<const float>(mono.data() + i, n), result);
        for (std::size_t k = 0; k < result.beats.size(); ++k) {
            run.beats.push_back(analysis.streamTime());
        }
        run.lastBpm = result.bpm;
    }
    run.cpu = threadSeconds() - start;
    return run;
}

Run aubioAlone(const std::vector<float>& mono) {
    Run run;
    const double start = threadSeconds();
    aubio_tempo_t* tempo =
        new_aubio_tempo("default", kAubioWindow, kAubioHop, uint_t(music::kSampleRate));
    fvec_t* in = new_fvec(kAubioHop);
    fvec_t* out = new_fvec(2);
    for (std::size_t i = 0; i + kAubioHop <= mono.size(); i += kAubioHop) {
        std::copy_n(mono.data() + i, kAubioHop, fvec_get_data(in));
        aubio_tempo_do(tempo, in, out);
        if (fvec_get_sample(out, 0) != 0) {
            run.beats.push_back(double(i + kAubioHop) / music::kSampleRate);
        }
    }
    run.lastBpm = aubio_tempo_get_bpm(tempo);
    del_fvec(out);
    del_fvec(in);
    del_aubio_tempo(tempo);
    run.cpu = threadSeconds() - start;
    return run;
}

struct Scored {
    test::MirexScore score;
    double firstBeat = 0;  // seconds from the start to the first beat given (-1: none)
    double cpu = 0;
};

Scored score(const Run& run, const std::vector<double>& truth) {
    Scored s{test::mirexScore(truth, run.beats), run.beats.empty() ? -1 : run.beats.front(),
             run.cpu};
    return s;
}

struct Totals {
    int files = 0;
    double f = 0, fAny = 0;
    std::vector<double> latencies, firsts;
    void add(const Scored& s) {
        ++files;
        f += s.score.f;
        fAny += s.score.fAnyLevel;
        if (s.score.f > 0) latencies.push_back(s.score.latency);
        firsts.push_back(s.firstBeat < 0 ? 1e9 : s.firstBeat);
    }
};

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string groupName(const std::string& group, const std::string& variant) {
    static const std::map<std::string, std::string> names{
        {"drums", "drums"}, {"nokick", "no kick"}, {"nodrums", "no drums"}};
    return names.at(group) + " / " + (variant == "clean" ? "own output" : "room mic");
}

void printGroups(const std::map<std::string, std::pair<Totals, Totals>>& groups) {
    std::printf("\n%-24s %5s | %-31s | %-31s\n", "group", "files",
                "suivi: F   F-any  lat ms  1st<4s", "aubio: F   F-any  lat ms  1st<4s");
    for (const auto& [name, pair] : groups) {
        std::printf("%-24s %5d |", name.c_str() + 2, pair.first.files);
        for (const Totals* t : {&pair.first, &pair.second}) {
            const auto within = std::count_if(t->firsts.begin(), t->firsts.end(),
                                              [](double x) { return x <= 4.0; });
            std::printf("       %4.2f  %4.2f  %6.0f  %3ld/%-3d |", t->f / t->files,
                        t->fAny / t->files, 1000 * median(t->latencies), long(within), t->files);
        }
        std::printf("\n");
    }
}

int beatsAfter(const std::vector<double>& beats, double t) {
    return int(std::count_if(beats.begin(), beats.end(), [t](double b) { return b >= t; }));
}

// No beat where there is none: synthetic noise and silence, 30 s each.
void printNoise() {
    std::printf("\nbeats given in 30 s of sound with no beat (a 120 BPM piece has 60):\n");
    std::vector<std::vector<float>> tracks{test::makeSilence(30).samples,
                                           test::makeWhiteNoise(30, 0.5f).samples,
                                           test::makeWhiteNoise(30, 0.02f, 9).samples};
    // Pink noise (a room's hum and hiss), and the same swelling and fading at random like the
    // voices of a crowd.
    std::vector<float> pink = test::makeWhiteNoise(30, 1.0f, 11).samples, crowd;
    double b0 = 0, b1 = 0, b2 = 0, swell = 0.5, target = 0.5;
    std::uint32_t seed = 12345;
    auto random = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return double(seed >> 8) / double(1u << 24);
    };
    for (std::size_t i = 0; i < pink.size(); ++i) {
        const double white = pink[i];
        b0 = 0.99765 * b0 + white * 0.0990460;
        b1 = 0.96300 * b1 + white * 0.2965164;
        b2 = 0.57000 * b2 + white * 1.0526913;
        pink[i] = static_cast<float>(0.1 * (b0 + b1 + b2 + white * 0.1848));
        if (i % 2205 == 0) target = 0.1 + random();  // a new swell every 50 ms
        swell += (target - swell) * 0.0005;
        crowd.push_back(static_cast<float>(pink[i] * swell));
    }
    tracks.push_back(pink);
    tracks.push_back(crowd);
    const char* names[] = {"silence", "white noise", "quiet white noise", "pink noise",
                           "crowd-like noise"};
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        std::printf("  %-18s suivi %3zu   aubio %3zu\n", names[i], follow(tracks[i]).beats.size(),
                    aubioAlone(tracks[i]).beats.size());
    }
}

// Bad input on the first excerpts of a group: clipped, very quiet, one channel inverted, a
// source that stops at 20 s (beats given 2 s or more after it stopped).
void printBadInput(const std::vector<test::Excerpt>& excerpts) {
    std::printf("\nbad input (suivi F; aubio F):\n");
    int done = 0;
    for (const test::Excerpt& e : excerpts) {
        if (e.group != "drums" || e.variant != "clean" || done >= 4) continue;
        const auto sound = test::readWav(e.wav);
        if (!sound || sound->channels != 2) continue;
        ++done;
        const std::vector<double> truth = test::readBeats(e.beatFile);
        std::vector<float> mono = test::mixToMono(*sound), clipped = mono, quiet = mono,
                           inverted(mono.size()), stopped = mono;
        for (float& x : clipped) x = std::clamp(8 * x, -1.0f, 1.0f);
        for (float& x : quiet) x *= 0.01f;
        for (std::size_t i = 0; i < inverted.size(); ++i)
            inverted[i] = (sound->samples[2 * i] - sound->samples[2 * i + 1]) / 2;
        const std::size_t stop = std::size_t(20.0 * music::kSampleRate);
        std::fill(stopped.begin() + std::ptrdiff_t(std::min(stop, stopped.size())), stopped.end(),
                  0.0f);
        const Run s = follow(stopped), a = aubioAlone(stopped);
        std::printf(
            "  %-28s clipped %.2f;%.2f  -40 dB %.2f;%.2f  L-R %.2f;%.2f  stops at 20 s: %d;%d "
            "beats after 22 s\n",
            e.name.c_str(), test::mirexScore(truth, follow(clipped).beats).f,
            test::mirexScore(truth, aubioAlone(clipped).beats).f,
            test::mirexScore(truth, follow(quiet).beats).f,
            test::mirexScore(truth, aubioAlone(quiet).beats).f,
            test::mirexScore(truth, follow(inverted).beats).f,
            test::mirexScore(truth, aubioAlone(inverted).beats).f, beatsAfter(s.beats, 22.0),
            beatsAfter(a.beats, 22.0));
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder = LUMIERE_MUSIC_SET, set = "dev", only;
    bool files = false, extras = true, withAubio = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--set" && i + 1 < argc) {
            set = argv[++i];
        } else if (arg == "--folder" && i + 1 < argc) {
            folder = argv[++i];
        } else if (arg == "--only" && i + 1 < argc) {
            only = argv[++i];
        } else if (arg == "--files") {
            files = true;
        } else if (arg == "--no-extras") {
            extras = false;
        } else if (arg == "--no-aubio") {
            withAubio = false;
        } else {
            std::fprintf(stderr,
                         "usage: lumiere-real-beat-bench [--set dev|games|heldout] [--folder DIR] "
                         "[--files] [--only TEXT] [--no-extras] [--no-aubio]\n");
            return 2;
        }
    }
    const std::vector<test::Excerpt> excerpts = test::readMusicSet(folder, set);
    if (excerpts.empty()) {
        std::fprintf(stderr, "no %s set in %s: run scripts/music-set.sh first\n", set.c_str(),
                     folder.c_str());
        return 1;
    }
    std::printf(
        "lumiere-real-beat-bench: set '%s' (%s). suivi = Lumière's analysis (BeatAnalysis, "
        "%zu-sample blocks);\naubio = aubio_tempo \"default\" alone (window %d, hop %d). F = "
        "F-measure ±70 ms after 5 s at the best\nconstant latency in -50..+100 ms; F-any = the "
        "same "
        "at any metrical level; lat = that latency.\n",
        set.c_str(), folder.c_str(), kCaptureBlock, kAubioWindow, kAubioHop);
    if (files)
        std::printf("\n%-34s %6s | %-27s | %-27s\n", "excerpt", "bpm", "suivi: F  F-any lat  bpm",
                    "aubio: F  F-any lat  bpm");
    std::map<std::string, std::pair<Totals, Totals>> groups;
    double audio = 0, cpuSuivi = 0, cpuAubio = 0;
    for (const test::Excerpt& e : excerpts) {
        if (!only.empty() && e.name.find(only) == std::string::npos) continue;
        const auto sound = test::readWav(e.wav);
        if (!sound || sound->rate != music::kSampleRate) {
            std::fprintf(stderr, "%s: not a 44 100 Hz WAV file\n", e.wav.c_str());
            continue;
        }
        const std::vector<float> mono = test::mixToMono(*sound);
        const std::vector<double> truth = test::readBeats(e.beatFile);
        const Run s = follow(mono), a = withAubio ? aubioAlone(mono) : Run{};
        const Scored ss = score(s, truth), sa = score(a, truth);
        audio += sound->seconds();
        cpuSuivi += s.cpu;
        cpuAubio += a.cpu;
        const std::string key = std::string(e.variant == "clean" ? "a" : "b") +
                                (e.group == "drums"    ? "1"
                                 : e.group == "nokick" ? "2"
                                                       : "3") +
                                groupName(e.group, e.variant);
        groups[key].first.add(ss);
        groups[key].second.add(sa);
        if (files)
            std::printf("%-34s %6.1f |  %4.2f %4.2f %4.0f %5.1f |  %4.2f %4.2f %4.0f %5.1f\n",
                        e.name.c_str(), e.bpm, ss.score.f, ss.score.fAnyLevel,
                        1000 * ss.score.latency, s.lastBpm, sa.score.f, sa.score.fAnyLevel,
                        1000 * sa.score.latency, a.lastBpm);
    }
    printGroups(groups);
    std::printf(
        "\nCPU per second of audio: suivi %.2f ms (%.3f %% of one core), aubio %.2f ms "
        "(%.3f %%), over %.0f s\n",
        1000 * cpuSuivi / audio, 100 * cpuSuivi / audio, 1000 * cpuAubio / audio,
        100 * cpuAubio / audio, audio);
    if (extras) {
        printNoise();
        printBadInput(excerpts);
    }
    return 0;
}
