// SPDX-License-Identifier: GPL-3.0-or-later
// The music heard from the desktop's sound server: the capture (libpulse) and the analysis
// (aubio and ours) on a thread of their own.
#include "music/beat_source.h"
#include "music/music_option.h"

namespace lumiere {
namespace {

class SoundServerInput final : public BeatInput {
public:
    explicit SoundServerInput(music::PulseOptions options) : source_(std::move(options)) {}
    bool start(const music::SourceInfo& source, music::BeatListener listener,
               int sensitivity) override {
        return source_.start(source, std::move(listener), sensitivity);
    }
    void setSensitivity(int sensitivity) override { source_.setSensitivity(sensitivity); }
    void stop() override { source_.stop(); }

private:
    music::BeatSource source_;
};

}  // namespace

MusicServices soundServer(music::PulseOptions options) {
    return {[options] { return std::make_unique<SoundServerInput>(options); },
            [options] { return music::listSources(options); },
            {}};
}

}  // namespace lumiere
