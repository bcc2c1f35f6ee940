// SPDX-License-Identifier: GPL-3.0-or-later
// The benchmark's beat scoring against mir_eval's (Debian's python3-mir-eval), the reference
// implementation of the MIREX measures, on beat lists with every kind of fault.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "support/beat_scoring.h"
#include "support/temp_folder.h"

using lumiere::test::fMeasure;
using lumiere::test::mirexScore;

namespace {

// mir_eval's F-measure of each pair of files (true beats, beats found), or nothing when it
// cannot be run.
std::vector<double> mirEval(const std::vector<std::pair<std::string, std::string>>& pairs) {
    std::string script = "import mir_eval, numpy\n";
    for (const auto& [truth, found] : pairs) {
        // trim_beats leaves the first 5 s out, as mir_eval.beat.evaluate does.
        script +=
            "print('%.12f' % mir_eval.beat.f_measure(mir_eval.beat.trim_beats(numpy.loadtxt('" +
            truth + "', ndmin=1)), mir_eval.beat.trim_beats(numpy.loadtxt('" + found +
            "', ndmin=1))))\n";
    }
    const std::string command = "/usr/bin/python3 -W ignore -c \"" + script + "\" 2>/dev/null";
    std::vector<double> out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return out;
    for (double f; std::fscanf(pipe, "%lf", &f) == 1;) out.push_back(f);
    ::pclose(pipe);
    return out;
}

std::string writeBeats(const TempFolder& folder, const std::string& name,
                       const std::vector<double>& beats) {
    std::ofstream out(folder.file(name));
    out.precision(9);
    for (double t : beats) out << t << "\n";
    return folder.file(name);
}

}  // namespace

TEST(BeatScoring, TheFMeasureIsMirEvals) {
    // 120 BPM for 30 s, and found beats that are right, jittered within and beyond the window,
    // missing some, with extras, at twice the tempo, on the off-beat, clustered, or before 5 s.
    std::vector<double> truth;
    for (double t = 0.3; t < 30; t += 0.5) truth.push_back(t);
    std::vector<std::vector<double>> founds(7);
    std::uint32_t seed = 7;
    auto jitter = [&seed](double spread) {
        seed = seed * 1664525u + 1013904223u;
        return spread * (double(seed >> 8) / double(1u << 24) * 2 - 1);
    };
    for (std::size_t i = 0; i < truth.size(); ++i) {
        const double t = truth[i];
        founds[0].push_back(t + jitter(0.06));
        founds[1].push_back(t + jitter(0.12));
        if (i % 3 != 0) founds[2].push_back(t + jitter(0.03));
        founds[3].push_back(t + 0.25 + jitter(0.02));
        founds[4].push_back(t);
        founds[4].push_back(t + 0.25);
        founds[5].push_back(t + 0.069);
        founds[5].push_back(t + 0.071);
        if (t < 6) founds[6].push_back(t);
    }
    TempFolder folder;
    std::vector<std::pair<std::string, std::string>> pairs;
    const std::string truthFile = writeBeats(folder, "truth", truth);
    for (std::size_t k = 0; k < founds.size(); ++k)
        pairs.emplace_back(truthFile, writeBeats(folder, "found" + std::to_string(k), founds[k]));
    const std::vector<double> reference = mirEval(pairs);
    if (reference.size() != founds.size()) GTEST_SKIP() << "mir_eval (python3-mir-eval) missing";
    for (std::size_t k = 0; k < founds.size(); ++k) {
        // The files hold 9 digits: score what mir_eval read.
        std::vector<double> read;
        std::ifstream in(pairs[k].second);
        for (double t; in >> t;) read.push_back(t);
        EXPECT_NEAR(fMeasure(truth, read), reference[k], 1e-9) << "case " << k;
    }
}

TEST(BeatScoring, LatencyAndMetricalLevels) {
    std::vector<double> truth, late, twice;
    for (double t = 0.3; t < 30; t += 0.5) {
        truth.push_back(t);
        late.push_back(t + 0.09);  // 90 ms late: outside ±70 ms, inside the latency searched
        twice.push_back(t);
        twice.push_back(t + 0.25);
    }
    EXPECT_LT(fMeasure(truth, late), 0.01);
    const auto score = mirexScore(truth, late);
    EXPECT_DOUBLE_EQ(score.f, 1.0);
    EXPECT_NEAR(score.latency, 0.09, 1e-6);
    const auto doubled = mirexScore(truth, twice);
    EXPECT_NEAR(doubled.f, 2.0 / 3, 0.01);
    EXPECT_GT(doubled.fAnyLevel, 0.99);
}
