// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/beat_tracks.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace lumiere::test {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// A small generator of our own, so the noise is the same with every standard library.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    // Uniform in [-1, 1).
    float next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<float>(static_cast<double>(state_ >> 11) * 0x1.0p-52 - 1.0);
    }

private:
    std::uint64_t state_;
};

std::size_t sampleAt(double t) {
    return static_cast<std::size_t>(std::llround(t * kTrackRate));
}

// Adds `length` seconds of `voice(t)` (t from the onset) at time `at`.
template <typename Voice>
void addVoice(std::vector<float>& out, double at, double length, Voice voice) {
    const std::size_t first = sampleAt(at);
    const std::size_t last = std::min(out.size(), sampleAt(at + length));
    for (std::size_t i = first; i < last; ++i) {
        out[i] += voice(static_cast<double>(i - first) / kTrackRate);
    }
}

void addKick(std::vector<float>& out, double at, Noise& noise) {
    double phase = 0;
    addVoice(out, at, 0.3, [&](double t) {
        phase += kTwoPi * (50.0 + 110.0 * std::exp(-t / 0.03)) / kTrackRate;
        const double click = t < 0.002 ? 0.3 * noise.next() : 0.0;
        return static_cast<float>(0.75 * std::exp(-t / 0.12) * std::sin(phase) + click);
    });
}

void addBass(std::vector<float>& out, double at, double length, double frequency) {
    addVoice(out, at, length, [&](double t) {
        const double envelope = std::min(1.0, t / 0.005) * std::exp(-t / (0.6 * length));
        const double tone =
            std::sin(kTwoPi * frequency * t) + 0.4 * std::sin(kTwoPi * 2 * frequency * t);
        return static_cast<float>(0.22 * envelope * tone);
    });
}

void addHat(std::vector<float>& out, double at, float amplitude, Noise& noise) {
    float previous = 0;
    addVoice(out, at, 0.06, [&](double t) {
        const float white = noise.next();
        const float high = white - previous;  // a first difference keeps the hiss bright
        previous = white;
        return amplitude * static_cast<float>(std::exp(-t / 0.015)) * high;
    });
}

void addSnare(std::vector<float>& out, double at, Noise& noise) {
    addVoice(out, at, 0.2, [&](double t) {
        const double body = 0.5 * std::sin(kTwoPi * 185.0 * t) * std::exp(-t / 0.03);
        return static_cast<float>(0.25 * std::exp(-t / 0.07) * noise.next() + 0.2 * body);
    });
}

// Pink noise under everything (Paul Kellet's economy filter on white noise).
void addPinkNoise(std::vector<float>& out, float amplitude, Noise& noise) {
    double b0 = 0, b1 = 0, b2 = 0;
    for (float& sample : out) {
        const double white = noise.next();
        b0 = 0.99765 * b0 + white * 0.0990460;
        b1 = 0.96300 * b1 + white * 0.2965164;
        b2 = 0.57000 * b2 + white * 1.0526913;
        sample += amplitude * static_cast<float>((b0 + b1 + b2 + white * 0.1848) * 0.25);
    }
}

void clip(std::vector<float>& samples) {
    for (float& sample : samples) sample = std::clamp(sample, -1.0f, 1.0f);
}

void fillTempi(BeatTrack& track, double lastInterval) {
    for (std::size_t k = 0; k < track.beats.size(); ++k) {
        const double interval =
            k + 1 < track.beats.size() ? track.beats[k + 1] - track.beats[k] : lastInterval;
        track.tempi.push_back(60.0 / interval);
    }
}

// The dance music over the given beats.
BeatTrack renderDance(std::string name, const std::vector<double>& beats, double seconds,
                      std::uint32_t seed) {
    BeatTrack track{std::move(name), std::vector<float>(sampleAt(seconds), 0.0f), beats, {}};
    Noise noise(seed);
    static constexpr double kBassNotes[] = {55.0, 55.0, 82.4, 73.4};
    for (std::size_t k = 0; k < beats.size(); ++k) {
        const double interval = k + 1 < beats.size() ? beats[k + 1] - beats[k]
                                                     : (k > 0 ? beats[k] - beats[k - 1] : 0.5);
        const double offBeat = beats[k] + interval / 2;
        addKick(track.samples, beats[k], noise);
        addBass(track.samples, offBeat, interval / 2, kBassNotes[(k / 2) % 4]);
        addHat(track.samples, beats[k], 0.06f, noise);
        addHat(track.samples, offBeat, 0.12f, noise);
        if (k % 2 == 1) addSnare(track.samples, beats[k], noise);
    }
    addPinkNoise(track.samples, 0.08f, noise);
    clip(track.samples);
    fillTempi(track, beats.size() > 1 ? beats.back() - beats[beats.size() - 2] : 0.5);
    return track;
}

std::vector<double> evenBeats(double bpm, double first, double until) {
    std::vector<double> beats;
    for (int k = 0;; ++k) {
        const double t = first + k * 60.0 / bpm;
        if (t >= until) break;
        beats.push_back(t);
    }
    return beats;
}

std::string formatBpm(double bpm) {
    const double rounded = std::round(bpm);
    return std::abs(bpm - rounded) < 1e-9 ? std::to_string(static_cast<int>(rounded))
                                          : std::to_string(bpm);
}

}  // namespace

double BeatTrack::tempoAt(double t) const {
    if (beats.empty()) return 0;
    const auto after = std::upper_bound(beats.begin(), beats.end(), t);
    const std::size_t index = after == beats.begin() ? 0 : (after - beats.begin()) - 1;
    return tempi[index];
}

BeatTrack makeDanceTrack(double bpm, double seconds, std::uint32_t seed) {
    return renderDance("danse " + formatBpm(bpm), evenBeats(bpm, 0.25, seconds - 0.05), seconds,
                       seed);
}

BeatTrack makeDanceTrackOn(const std::vector<double>& beats, double seconds, std::uint32_t seed) {
    return renderDance("danse", beats, seconds, seed);
}

BeatTrack makeTempoStepTrack(double fromBpm, double toBpm, double seconds, std::uint32_t seed) {
    std::vector<double> beats = evenBeats(fromBpm, 0.25, seconds / 2);
    const double next = beats.back() + 60.0 / fromBpm;
    for (double t : evenBeats(toBpm, next, seconds - 0.05)) beats.push_back(t);
    return renderDance("danse " + formatBpm(fromBpm) + "->" + formatBpm(toBpm), beats, seconds,
                       seed);
}

BeatTrack makeTempoRampTrack(double fromBpm, double toBpm, double seconds, double rampSeconds,
                             std::uint32_t seed) {
    // The tempo is a function of time; each beat comes one interval (at the tempo of the
    // previous beat) after the other, so the glide is smooth to the beat.
    const double start = seconds / 2;
    auto tempoAt = [&](double t) {
        const double share = std::clamp((t - start) / rampSeconds, 0.0, 1.0);
        return fromBpm + (toBpm - fromBpm) * share;
    };
    std::vector<double> beats;
    for (double t = 0.25; t < seconds - 0.05; t += 60.0 / tempoAt(t)) beats.push_back(t);
    return renderDance("glisse " + formatBpm(fromBpm) + "->" + formatBpm(toBpm), beats, seconds,
                       seed);
}

BeatTrack makeSilence(double seconds) {
    return BeatTrack{"silence", std::vector<float>(sampleAt(seconds), 0.0f), {}, {}};
}

BeatTrack makeWhiteNoise(double seconds, float amplitude, std::uint32_t seed) {
    BeatTrack track{"bruit blanc", std::vector<float>(sampleAt(seconds)), {}, {}};
    Noise noise(seed);
    for (float& sample : track.samples) sample = amplitude * noise.next();
    return track;
}

BeatTrack makeClickTrack(double bpm, double seconds) {
    BeatTrack track{"clics " + formatBpm(bpm),
                    std::vector<float>(sampleAt(seconds), 0.0f),
                    evenBeats(bpm, 0.25, seconds - 0.01),
                    {}};
    for (double at : track.beats) {
        addVoice(track.samples, at, 0.01, [](double t) {
            return static_cast<float>(0.9 * std::exp(-t / 0.002) * std::sin(kTwoPi * 2000.0 * t));
        });
    }
    fillTempi(track, 60.0 / bpm);
    return track;
}

BeatTrack makeClippedTrack(double bpm, double seconds, float gain, std::uint32_t seed) {
    BeatTrack track = makeDanceTrack(bpm, seconds, seed);
    track.name = "saturé " + formatBpm(bpm);
    for (float& sample : track.samples) sample *= gain;
    clip(track.samples);
    return track;
}

std::string toWav(const std::vector<float>& samples) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::string wav;
    auto put = [&wav](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) wav.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    wav += "RIFF";
    put(36 + dataBytes, 4);
    wav += "WAVEfmt ";
    put(16, 4);
    put(1, 2);  // PCM
    put(1, 2);  // mono
    put(kTrackRate, 4);
    put(kTrackRate * 2, 4);
    put(2, 2);
    put(16, 2);
    wav += "data";
    put(dataBytes, 4);
    for (float sample : samples) {
        const auto value =
            static_cast<std::int16_t>(std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767));
        put(static_cast<std::uint16_t>(value), 2);
    }
    return wav;
}

}  // namespace lumiere::test
