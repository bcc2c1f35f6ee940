// SPDX-License-Identifier: GPL-3.0-or-later
// listSources(): one short connection to the server on a plain (not threaded) main loop, run on
// the calling thread until the server has answered both questions or the deadline has passed.

#include <pulse/pulseaudio.h>

#include "music/pulse_capture.h"
#include "text/cp1252.h"

namespace lumiere::music {

namespace {

struct Listing {
    SourceList result;
    int pending = 2;  // the server information and the source list
    bool failed = false;
};

void serverInfo(pa_context*, const pa_server_info* info, void* self) {
    auto& listing = *static_cast<Listing*>(self);
    if (info != nullptr && info->default_source_name != nullptr) {
        listing.result.defaultSource = info->default_source_name;
    }
    --listing.pending;
}

void sourceInfo(pa_context*, const pa_source_info* info, int last, void* self) {
    auto& listing = *static_cast<Listing*>(self);
    if (last != 0) {
        --listing.pending;
        return;
    }
    if (info == nullptr || info->name == nullptr) return;
    listing.result.sources.push_back(
        SourceInfo{info->name, fromUtf8(info->description ? info->description : info->name),
                   info->monitor_of_sink != PA_INVALID_INDEX});
}

void contextChanged(pa_context* context, void* self) {
    auto& listing = *static_cast<Listing*>(self);
    switch (pa_context_get_state(context)) {
        case PA_CONTEXT_READY:
            pa_operation_unref(pa_context_get_server_info(context, &serverInfo, &listing));
            pa_operation_unref(pa_context_get_source_info_list(context, &sourceInfo, &listing));
            break;
        case PA_CONTEXT_FAILED:
            listing.failed = true;
            listing.result.error = pa_context_errno(context) == PA_ERR_ACCESS
                                       ? MusicError::AccessDenied
                                       : MusicError::NoServer;
            break;
        default:
            break;
    }
}

}  // namespace

SourceList listSources(const PulseOptions& options) {
    Listing listing;
    pa_mainloop* loop = pa_mainloop_new();
    if (loop == nullptr) return SourceList{{}, {}, MusicError::Other};
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "Lumière");
    if (context == nullptr) {
        pa_mainloop_free(loop);
        return SourceList{{}, {}, MusicError::Other};
    }
    pa_context_set_state_callback(context, &contextChanged, &listing);
    const char* server = options.server.empty() ? nullptr : options.server.c_str();
    if (pa_context_connect(context, server, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        listing.failed = true;
        listing.result.error = MusicError::NoServer;
    }
    const auto deadline = MusicClock::now() + options.listTimeout;
    while (!listing.failed && listing.pending > 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::microseconds>(deadline - MusicClock::now());
        if (left.count() <= 0) {
            listing.result.error = MusicError::NoServer;  // it did not answer in time
            break;
        }
        if (pa_mainloop_prepare(loop, static_cast<int>(left.count())) < 0 ||
            pa_mainloop_poll(loop) < 0 || pa_mainloop_dispatch(loop) < 0) {
            listing.result.error = MusicError::Other;
            break;
        }
    }
    pa_context_set_state_callback(context, nullptr, nullptr);
    pa_context_disconnect(context);
    pa_context_unref(context);
    pa_mainloop_free(loop);
    if (listing.result.error) listing.result.sources.clear();
    return listing.result;
}

}  // namespace lumiere::music
