// SPDX-License-Identifier: GPL-3.0-or-later
#include "beat_set.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace lumiere::test {

namespace {

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) out.push_back(field);
    return out;
}

std::uint32_t le32(const char* p) {
    std::uint32_t v = 0;
    std::memcpy(&v, p, 4);
    return v;
}

std::uint16_t le16(const char* p) {
    std::uint16_t v = 0;
    std::memcpy(&v, p, 2);
    return v;
}

}  // namespace

std::vector<Excerpt> readMusicSet(const std::string& folder, const std::string& set) {
    std::vector<Excerpt> out;
    std::ifstream in(folder + "/" + set + ".tsv");
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> f = fields(line);
        if (f.size() < 9) continue;
        const std::string dir = folder + "/" + set + "/";
        out.push_back({f[0], f[1], f[2], std::stod(f[3]), f[4], f[5], dir + f[7], dir + f[8]});
    }
    return out;
}

std::vector<double> readBeats(const std::string& path) {
    std::vector<double> beats;
    std::ifstream in(path);
    for (double t; in >> t;) beats.push_back(t);
    return beats;
}

std::optional<Sound> readWav(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (data.size() < 12 || data.compare(0, 4, "RIFF") != 0 || data.compare(8, 4, "WAVE") != 0)
        return std::nullopt;
    Sound sound;
    int format = 0, bits = 0;
    for (std::size_t at = 12; at + 8 <= data.size();) {
        const std::string id = data.substr(at, 4);
        const std::size_t size = le32(data.data() + at + 4);
        const char* body = data.data() + at + 8;
        if (at + 8 + size > data.size()) break;
        if (id == "fmt " && size >= 16) {
            format = le16(body);
            sound.channels = le16(body + 2);
            sound.rate = static_cast<int>(le32(body + 4));
            bits = le16(body + 14);
        } else if (id == "data") {
            if (format == 1 && bits == 16) {
                sound.samples.resize(size / 2);
                for (std::size_t i = 0; i < sound.samples.size(); ++i)
                    sound.samples[i] = static_cast<std::int16_t>(le16(body + 2 * i)) / 32768.0f;
            } else if (format == 3 && bits == 32) {
                sound.samples.resize(size / 4);
                std::memcpy(sound.samples.data(), body, sound.samples.size() * 4);
            } else {
                return std::nullopt;
            }
        }
        at += 8 + size + (size & 1);
    }
    if (sound.channels <= 0 || sound.rate <= 0) return std::nullopt;
    return sound;
}

std::vector<float> mixToMono(const Sound& sound) {
    if (sound.channels <= 1) return sound.samples;
    const auto channels = static_cast<std::size_t>(sound.channels);
    std::vector<float> mono(sound.samples.size() / channels);
    for (std::size_t i = 0; i < mono.size(); ++i) {
        float sum = 0;
        for (std::size_t c = 0; c < channels; ++c) sum += sound.samples[i * channels + c];
        mono[i] = sum / float(channels);
    }
    return mono;
}

}  // namespace lumiere::test
