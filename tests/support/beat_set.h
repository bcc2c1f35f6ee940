// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The music sets built by scripts/music-set.sh: rendered arrangements with their true beats,
// listed in <folder>/<set>.tsv (one excerpt a line: name, group, variant, tempo, meter, feel,
// soundfont, WAV file and beat file, the files in <folder>/<set>/).

#include <optional>
#include <string>
#include <vector>

namespace lumiere::test {

struct Excerpt {
    std::string name;     // "rock-143-drums-clean"
    std::string group;    // "drums", "nokick" or "nodrums"
    std::string variant;  // "clean" (the computer's own output) or "room" (a microphone)
    double bpm = 0;       // the median tempo of its beats
    std::string meter;    // "4/4", "3/4"…
    std::string feel;     // "straight", "swung", "shuffle", or "-" when not known
    std::string wav;      // paths
    std::string beatFile;
};

// The excerpts of `set` ("dev", "heldout") in `folder`; empty when there is no manifest.
std::vector<Excerpt> readMusicSet(const std::string& folder, const std::string& set);

// The beats of a beat file, in seconds.
std::vector<double> readBeats(const std::string& path);

struct Sound {
    int rate = 0;
    int channels = 0;
    std::vector<float> samples;  // interleaved, -1 to 1
    double seconds() const {
        return rate == 0 || channels == 0 ? 0 : double(samples.size()) / channels / rate;
    }
};

// A 16-bit PCM or 32-bit float WAV file; nothing when it is not one.
std::optional<Sound> readWav(const std::string& path);

// The channels mixed to one, as a sound server gives a mono capture of a stereo source.
std::vector<float> mixToMono(const Sound& sound);

}  // namespace lumiere::test
