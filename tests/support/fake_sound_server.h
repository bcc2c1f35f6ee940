// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A sound server in memory. It hands out inputs as the real one would; the test then says when
// a beat is heard, what level comes in, or that the input failed, and the running input's
// listener is called on the test's own thread, as the capture thread would call it.

#include <memory>
#include <string>

#include "music/music_option.h"

namespace lumiere::test {

class FakeSoundServer {
public:
    // The services the application asks for; `sources` is what listing the inputs returns.
    MusicServices services() {
        return {[this] { return std::make_unique<Input>(*this); }, [this] { return sources; }, {}};
    }

    void beat(double bpm = 120) {
        if (running_ && running_->listener.onBeat) running_->listener.onBeat({0, {}, bpm});
    }
    void level(float peak) {
        if (running_ && running_->listener.onLevel) running_->listener.onLevel({peak / 2, peak});
    }
    void fail(music::MusicError error, const std::string& text) {
        if (running_ && running_->listener.onError) running_->listener.onError(error, text);
    }

    bool capturing() const { return running_ != nullptr; }
    const std::string& source() const { return source_; }
    // The name the input was started with (Windows-1252), for its error texts.
    const std::string& sourceName() const { return sourceName_; }
    int sensitivity() const { return sensitivity_; }
    int starts() const { return starts_; }

    music::SourceList sources;

private:
    struct Input final : BeatInput {
        explicit Input(FakeSoundServer& server) : server(server) {}
        ~Input() override { stop(); }
        bool start(const music::SourceInfo& source, music::BeatListener l, int s) override {
            listener = std::move(l);
            server.running_ = this;
            server.source_ = source.id;
            server.sourceName_ = source.description;
            server.sensitivity_ = s;
            ++server.starts_;
            return true;
        }
        void setSensitivity(int s) override { server.sensitivity_ = s; }
        void stop() override {
            if (server.running_ == this) server.running_ = nullptr;
        }
        FakeSoundServer& server;
        music::BeatListener listener;
    };

    Input* running_ = nullptr;
    std::string source_;
    std::string sourceName_;
    int sensitivity_ = 0;
    int starts_ = 0;
};

}  // namespace lumiere::test
