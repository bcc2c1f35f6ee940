// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/pulse_capture.h"

#include <pulse/pulseaudio.h>

#include <cstring>

#include "music/beat_tracker.h"
#include "text/cp1252.h"

namespace lumiere::music {

namespace {

constexpr char kClientName[] = "Lumière";

MusicError errorOf(int code) {
    switch (code) {
        case PA_ERR_CONNECTIONREFUSED:
        case PA_ERR_CONNECTIONTERMINATED:
        case PA_ERR_INVALIDSERVER:
        case PA_ERR_TIMEOUT:
            return MusicError::NoServer;
        case PA_ERR_ACCESS:
        case PA_ERR_AUTHKEY:
            return MusicError::AccessDenied;
        case PA_ERR_NOENTITY:
        case PA_ERR_KILLED:
            return MusicError::SourceGone;
        default:
            return MusicError::Other;
    }
}

const pa_sample_spec kSampleFormat{PA_SAMPLE_FLOAT32NE, kSampleRate, 1};

}  // namespace

// One capture, from start() to stop(): the main loop, its thread, the context and the stream.
// Every member but `loop` is touched under the main loop's lock only.
struct PulseCapture::Session {
    Session(std::string source, BlockHandler block, ErrorHandler error)
        : sourceId(std::move(source)), onBlock(std::move(block)), onError(std::move(error)) {}

    void fail(MusicError error) {
        if (stopping || failed) return;
        failed = true;
        onError(error);
    }

    static void contextChanged(pa_context* context, void* self);
    static void streamChanged(pa_stream* stream, void* self);
    static void readable(pa_stream* stream, std::size_t, void* self);
    void openStream();
    void disconnect();

    std::string sourceId;
    BlockHandler onBlock;
    ErrorHandler onError;
    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    pa_stream* stream = nullptr;
    bool stopping = false;
    bool failed = false;
    std::uint64_t samples = 0;
    std::vector<float> buffer;
};

void PulseCapture::Session::contextChanged(pa_context* context, void* self) {
    auto& session = *static_cast<Session*>(self);
    switch (pa_context_get_state(context)) {
        case PA_CONTEXT_READY:
            session.openStream();
            break;
        case PA_CONTEXT_FAILED:
            session.fail(errorOf(pa_context_errno(context)) == MusicError::AccessDenied
                             ? MusicError::AccessDenied
                             : MusicError::NoServer);
            break;
        default:
            break;
    }
}

void PulseCapture::Session::openStream() {
    stream = pa_stream_new(context, "Suivre la musique", &kSampleFormat, nullptr);
    if (stream == nullptr) return fail(errorOf(pa_context_errno(context)));
    pa_stream_set_state_callback(stream, &Session::streamChanged, this);
    pa_stream_set_read_callback(stream, &Session::readable, this);
    pa_buffer_attr attr;
    std::memset(&attr, 0xFF, sizeof attr);  // every field: the server's choice
    attr.fragsize = kHopSize * sizeof(float);
    auto flags = static_cast<pa_stream_flags_t>(
        PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE);
    if (!sourceId.empty()) flags = static_cast<pa_stream_flags_t>(flags | PA_STREAM_DONT_MOVE);
    if (pa_stream_connect_record(stream, sourceId.empty() ? nullptr : sourceId.c_str(), &attr,
                                 flags) < 0) {
        fail(errorOf(pa_context_errno(context)));
    }
}

void PulseCapture::Session::streamChanged(pa_stream* stream, void* self) {
    auto& session = *static_cast<Session*>(self);
    switch (pa_stream_get_state(stream)) {
        case PA_STREAM_FAILED: {
            const int code = pa_context_errno(session.context);
            // The server went away: the context says so too, whichever speaks first.
            if (pa_context_get_state(session.context) != PA_CONTEXT_READY ||
                code == PA_ERR_CONNECTIONTERMINATED) {
                session.fail(MusicError::NoServer);
            } else {
                session.fail(code == PA_ERR_ACCESS ? MusicError::AccessDenied
                                                   : MusicError::SourceGone);
            }
            break;
        }
        case PA_STREAM_TERMINATED:
            session.fail(MusicError::SourceGone);  // removed by the server, not by us
            break;
        default:
            break;
    }
}

void PulseCapture::Session::readable(pa_stream* stream, std::size_t, void* self) {
    auto& session = *static_cast<Session*>(self);
    while (!session.stopping && pa_stream_readable_size(stream) > 0) {
        const void* data = nullptr;
        std::size_t bytes = 0;
        if (pa_stream_peek(stream, &data, &bytes) < 0 || bytes == 0) return;
        const std::size_t count = bytes / sizeof(float);
        session.buffer.resize(count);
        if (data == nullptr) {
            std::fill(session.buffer.begin(), session.buffer.end(), 0.0f);  // a hole: silence
        } else {
            std::memcpy(session.buffer.data(), data, count * sizeof(float));
        }
        pa_stream_drop(stream);
        // The block's end reached the input `latency` ago, less what is still waiting to be read.
        auto capturedEnd = MusicClock::now();
        pa_usec_t latency = 0;
        int negative = 0;
        if (pa_stream_get_latency(stream, &latency, &negative) == 0 && negative == 0) {
            const std::size_t waiting = pa_stream_readable_size(stream);
            const double behind =
                double(latency) / 1e6 - double(waiting) / sizeof(float) / kSampleRate;
            if (behind > 0) {
                capturedEnd -= std::chrono::duration_cast<MusicClock::duration>(
                    std::chrono::duration<double>(behind));
            }
        }
        if (count == 0) continue;
        session.onBlock(CaptureBlock{session.buffer, session.samples, capturedEnd});
        session.samples += count;
    }
}

void PulseCapture::Session::disconnect() {
    stopping = true;
    if (stream != nullptr) {
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_set_read_callback(stream, nullptr, nullptr);
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
        stream = nullptr;
    }
    if (context != nullptr) {
        pa_context_set_state_callback(context, nullptr, nullptr);
        pa_context_disconnect(context);
        pa_context_unref(context);
        context = nullptr;
    }
}

PulseCapture::PulseCapture(PulseOptions options) : options_(std::move(options)) {}

PulseCapture::~PulseCapture() {
    stop();
}

bool PulseCapture::start(const std::string& sourceId, BlockHandler onBlock, ErrorHandler onError) {
    stop();
    auto session = std::make_unique<Session>(sourceId, std::move(onBlock), std::move(onError));
    session->loop = pa_threaded_mainloop_new();
    if (session->loop == nullptr) {
        session->onError(MusicError::Other);
        return false;
    }
    session_ = std::move(session);
    Session& s = *session_;
    s.context = pa_context_new(pa_threaded_mainloop_get_api(s.loop), kClientName);
    if (s.context == nullptr) {
        s.fail(MusicError::Other);
        return false;
    }
    pa_context_set_state_callback(s.context, &Session::contextChanged, &s);
    const char* server = options_.server.empty() ? nullptr : options_.server.c_str();
    if (pa_context_connect(s.context, server, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        s.fail(MusicError::NoServer);
        return false;
    }
    if (pa_threaded_mainloop_start(s.loop) < 0) {
        s.fail(MusicError::Other);
        return false;
    }
    return true;
}

void PulseCapture::stop() {
    if (!session_) return;
    Session& s = *session_;
    if (pa_threaded_mainloop_in_thread(s.loop)) {
        // From a handler: the loop cannot end itself; disconnecting stops every callback.
        s.disconnect();
        return;
    }
    pa_threaded_mainloop_lock(s.loop);
    s.disconnect();
    pa_threaded_mainloop_unlock(s.loop);
    pa_threaded_mainloop_stop(s.loop);
    pa_threaded_mainloop_free(s.loop);
    session_.reset();
}

}  // namespace lumiere::music
