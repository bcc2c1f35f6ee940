// SPDX-License-Identifier: GPL-3.0-or-later
// lumiere-music-delay-bench: the music follower end to end, as a user meets it. A 120 BPM dance
// track is played into the null sink of a private PulseAudio server, by a playback stream of the
// benchmark's own that notes when each piece of sound enters the server; the real window
// (offscreen) follows that sink's monitor through Options > "Musique" and plays "Chennillard" on
// a pseudo-terminal. For every beat after the lock it prints how long the beat took from entering
// the sound server to its frame on the line, and what makes up that time; and the CPU the
// capture thread spent.
//
//   lumiere-music-delay-bench [seconds measured, default 20]

#include <pulse/simple.h>
#include <time.h>

#include <QApplication>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "app/application.h"
#include "link/posix_serial_port.h"
#include "music/music_option.h"
#include "music/music_window.h"
#include "support/beat_tracks.h"
#include "support/pty_peer.h"
#include "support/pulse_server.h"
#include "support/temp_folder.h"
#include "support/timed_frames.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"

using namespace lumiere;
using Clock = std::chrono::steady_clock;

namespace {

// The sound server's input, noting for every beat when its sound reached the input ("heard")
// and when the analysis gave it, and the CPU time of the capture thread.
class NotingInput final : public BeatInput {
public:
    struct Beat {
        Clock::time_point heard;
        Clock::time_point given;
    };
    NotingInput(music::PulseOptions options, std::mutex& mutex, std::vector<Beat>& beats,
                double& cpu)
        : inner_(soundServer(std::move(options)).input()),
          mutex_(mutex),
          beats_(beats),
          cpu_(cpu) {}
    bool start(const music::SourceInfo& source, music::BeatListener listener,
               int sensitivity) override {
        auto onBeat = std::move(listener.onBeat);
        listener.onBeat = [this, onBeat](const music::BeatEvent& beat) {
            {
                const std::lock_guard lock(mutex_);
                beats_.push_back({beat.heard, Clock::now()});
            }
            onBeat(beat);
        };
        auto onLevel = std::move(listener.onLevel);
        listener.onLevel = [this, onLevel](const music::Level& level) {
            timespec t{};
            clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
            const std::lock_guard lock(mutex_);
            cpu_ = double(t.tv_sec) + double(t.tv_nsec) / 1e9;
            onLevel(level);
        };
        return inner_->start(source, std::move(listener), sensitivity);
    }
    void setSensitivity(int sensitivity) override { inner_->setSensitivity(sensitivity); }
    void stop() override { inner_->stop(); }

private:
    std::unique_ptr<BeatInput> inner_;
    std::mutex& mutex_;
    std::vector<Beat>& beats_;
    double& cpu_;
};

// Plays a track into the sink in small pieces, noting when the server took each one: a piece
// is "in the server" once the blocking write of it returns. The server's buffer is kept short,
// as a music player's is, so that the time of a write is close to the time it is played.
class TrackPlayer {
public:
    static constexpr std::size_t kPiece = 256;  // samples

    TrackPlayer(const std::string& server, const std::string& sink, std::vector<float> samples)
        : samples_(std::move(samples)) {
        const pa_sample_spec sampleFormat{PA_SAMPLE_FLOAT32LE, 44100, 1};
        pa_buffer_attr attr{};
        attr.maxlength = std::uint32_t(-1);
        attr.tlength = static_cast<std::uint32_t>(pa_usec_to_bytes(10000, &sampleFormat));
        attr.prebuf = std::uint32_t(-1);
        attr.minreq = std::uint32_t(-1);
        attr.fragsize = std::uint32_t(-1);
        int error = 0;
        stream_ = pa_simple_new(server.c_str(), "lumiere-music-delay-bench", PA_STREAM_PLAYBACK,
                                sink.c_str(), "musique", &sampleFormat, nullptr, &attr, &error);
        if (stream_) thread_ = std::thread([this] { play(); });
    }
    ~TrackPlayer() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (stream_) pa_simple_free(stream_);
    }
    bool ok() const { return stream_ != nullptr; }
    // When the piece holding sample `index` was taken by the server; nothing before it was.
    std::optional<Clock::time_point> entered(std::size_t index) const {
        const std::lock_guard lock(mutex_);
        const std::size_t piece = index / kPiece;
        if (piece >= taken_.size()) return std::nullopt;
        return taken_[piece];
    }

private:
    void play() {
        for (std::size_t at = 0; at < samples_.size() && !stop_; at += kPiece) {
            const std::size_t n = std::min(kPiece, samples_.size() - at);
            int error = 0;
            if (pa_simple_write(stream_, samples_.data() + at, n * sizeof(float), &error) < 0)
                return;
            const std::lock_guard lock(mutex_);
            taken_.push_back(Clock::now());
        }
    }

    std::vector<float> samples_;
    pa_simple* stream_ = nullptr;
    std::atomic<bool> stop_ = false;
    mutable std::mutex mutex_;
    std::vector<Clock::time_point> taken_;
    std::thread thread_;
};

void runFor(std::chrono::milliseconds duration) {
    const auto end = Clock::now() + duration;
    while (Clock::now() < end) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void printSeries(const char* what, std::vector<double> values) {
    if (values.empty()) return;
    std::sort(values.begin(), values.end());
    const auto at = [&](double q) {
        return values[std::min(values.size() - 1, std::size_t(q * (values.size() - 1) + 0.5))];
    };
    std::printf("  %-38s median %6.1f ms   p95 %6.1f ms   max %6.1f ms\n", what, at(0.5), at(0.95),
                values.back());
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 20;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);

    test::PulseServer server;
    if (!server.ready()) {
        std::fprintf(stderr, "serveur de son privé : %s\n", server.failure().c_str());
        return 1;
    }
    const test::BeatTrack track = test::makeDanceTrack(120, seconds + 30.0);
    TrackPlayer player(server.address(), test::PulseServer::kSink, track.samples);
    if (!player.ok()) {
        std::fprintf(stderr, "lecture impossible dans le serveur de son privé\n");
        return 1;
    }

    TempFolder folder;
    folder.write("param.ini",
                 "[Port]\r\nCOM=9\r\n[Musique]\r\nActif=1\r\nEntree=" + server.monitor() + "\r\n");
    test::PtyPeer peer(folder.file("COM9"));
    test::TimedFrames line(peer.farSide());
    std::mutex mutex;
    std::vector<NotingInput::Beat> beats;
    double cpu = 0;
    ui::QtPlatform platform(folder.path());
    PosixSerialPort port;
    const music::PulseOptions pulse{server.address()};
    const std::vector<ui::OptionModule> modules = {
        ui::musicModule({[&] { return std::make_unique<NotingInput>(pulse, mutex, beats, cpu); },
                         [pulse] { return music::listSources(pulse); }, ""})};
    Application app(platform, port, ui::optionFactories(modules), AppConfig{folder.file("ttyS")});
    ui::MainWindow window(app, platform, modules);
    const MusicOption& music = *app.find<MusicOption>();
    app.Form_Load();
    window.show();
    app.inter_Click();
    // The master as slow as the desk allows: a step between two beats would show as a frame
    // with no beat before it.
    app.Command11_Click(6);

    const auto lockBy = Clock::now() + std::chrono::seconds(25);
    while (music.dialog().beats < 8 && Clock::now() < lockBy)
        runFor(std::chrono::milliseconds(100));
    if (music.dialog().beats < 8) {
        std::fprintf(stderr, "aucun rythme trouvé : %s\n", music.dialog().state.c_str());
        return 1;
    }
    std::size_t firstBeat = 0;
    double cpuBefore = 0;
    {
        const std::lock_guard lock(mutex);
        firstBeat = beats.size();
        cpuBefore = cpu;
    }
    const auto start = Clock::now();
    runFor(std::chrono::seconds(seconds));
    const auto end = Clock::now();
    const std::vector<test::TimedFrames::Frame> frames = line.frames();

    // Each true beat of the track heard in the measured time, and its frame: the first frame on
    // the line after the beat entered the server (a frame 50 ms early would be a guess).
    std::vector<double> total, analysis, handling;
    std::size_t unmatched = 0, counted = 0;
    double cpuAfter = 0;
    std::vector<NotingInput::Beat> given;
    {
        const std::lock_guard lock(mutex);
        given.assign(beats.begin() + static_cast<std::ptrdiff_t>(firstBeat), beats.end());
        cpuAfter = cpu;
    }
    for (const double beat : track.beats) {
        const auto entered = player.entered(static_cast<std::size_t>(beat * 44100));
        if (!entered || *entered < start || *entered >= end - std::chrono::milliseconds(200))
            continue;
        ++counted;
        const auto frame = std::find_if(frames.begin(), frames.end(), [&](const auto& f) {
            return f.at >= *entered - std::chrono::milliseconds(50);
        });
        if (frame == frames.end() || ms(frame->at - *entered) > 150) {
            ++unmatched;
            continue;
        }
        total.push_back(ms(frame->at - *entered));
        // The analysis's own beat for it: the last one given before that frame.
        const auto it = std::find_if(given.rbegin(), given.rend(),
                                     [&](const auto& b) { return b.given <= frame->at; });
        if (it == given.rend()) continue;
        analysis.push_back(ms(it->given - *entered));
        handling.push_back(ms(frame->at - it->given));
    }
    const double measuredSeconds = std::chrono::duration<double>(end - start).count();
    std::printf(
        "lumiere-music-delay-bench: 120 BPM dance track through a private PulseAudio, "
        "%d s measured after the lock\n\n",
        seconds);
    std::printf(
        "beats %zu, frames on the line %zu, beats with no frame within 150 ms %zu\n", counted,
        std::size_t(std::count_if(frames.begin(), frames.end(),
                                  [&](const auto& f) { return f.at >= start && f.at < end; })),
        unmatched);
    printSeries("beat enters the server -> frame", total);
    printSeries("  of which: sink, capture, analysis", analysis);
    printSeries("  of which: window thread and line", handling);
    std::printf("  capture thread CPU: %.2f %% of one core\n",
                100.0 * (cpuAfter - cpuBefore) / measuredSeconds);
    return 0;
}
