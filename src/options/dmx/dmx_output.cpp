// SPDX-License-Identifier: GPL-3.0-or-later
#include "dmx/dmx_output.h"

#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>

#include "dmx/dmx_sender.h"

namespace lumiere {
namespace {

// Frames the window may record before the worker takes them; beyond that only the latest counts.
constexpr std::size_t kInboxLimit = 256;
// How often the worker looks for work when the wake-up signal could not be made.
constexpr int kLookWithoutSignalMs = 20;

}  // namespace

// Wakes the worker from its wait on the connection: an eventfd it polls with the socket.
class DmxOutput::WakeSignal {
public:
    WakeSignal() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
    ~WakeSignal() {
        if (fd_ >= 0) ::close(fd_);
    }
    WakeSignal(const WakeSignal&) = delete;
    WakeSignal& operator=(const WakeSignal&) = delete;

    int fd() const { return fd_; }
    void raise() {
        const std::uint64_t one = 1;
        if (::write(fd_, &one, sizeof one) < 0) return;  // the counter is already raised
    }
    void drain() {
        std::uint64_t count = 0;
        if (::read(fd_, &count, sizeof count) < 0) return;  // nothing to drain
    }

private:
    int fd_;
};

DmxOutput::DmxOutput(std::unique_ptr<DmxConnection> connection, const DmxSettings& settings)
    : settings_(settings),
      wanted_(settings.enabled),
      signal_(std::make_unique<WakeSignal>()),
      connection_(std::move(connection)) {
    inbox_.reserve(kInboxLimit + 1);
    // The universe starts from a known state: every lamp off.
    if (settings_.enabled) inbox_.push_back(dmxFrame(settings_, 0));
    posted_ = settings_.enabled;
    worker_ = std::thread([this] { work(); });
}

DmxOutput::~DmxOutput() {
    shutdown();
}

void DmxOutput::wake() {
    signal_->raise();
}

void DmxOutput::post(const DmxFrame& frame) {
    bool raise = false;
    {
        const std::lock_guard lock(mutex_);
        inbox_.push_back(frame);
        if (inbox_.size() > kInboxLimit) {
            inboxCollapsed_ += inbox_.size() - 1;
            inbox_.erase(inbox_.begin(), inbox_.end() - 1);
        }
        raise = !signalled_;
        signalled_ = true;
    }
    if (raise) wake();
}

void DmxOutput::send(std::uint8_t lamps) {
    // The blinker sends the same lamps on every tick while nothing moves: the universe already
    // holds them, and the sender refreshes it while idle, so a repeat costs nothing.
    const bool repeat = posted_ && lamps == lamps_;
    lamps_ = lamps;
    if (!settings_.enabled || sealed_ || repeat) return;
    post(dmxFrame(settings_, lamps));
    posted_ = true;
}

void DmxOutput::apply(const DmxSettings& settings) {
    if (sealed_ || settings == settings_) return;
    const DmxSettings old = settings_;
    settings_ = settings;
    {
        const std::lock_guard lock(mutex_);
        if (old.enabled && (!settings.enabled || old.universe != settings.universe)) {
            inbox_.push_back(dmxFrame(old, 0));
        }
        if (settings.enabled) inbox_.push_back(dmxFrame(settings, lamps_));
        wanted_ = settings.enabled;
        signalled_ = true;
    }
    posted_ = settings.enabled;
    wake();
}

bool DmxOutput::shutdown(std::chrono::milliseconds limit) {
    if (!worker_.joinable()) return finished_;
    const bool deliver = settings_.enabled && !sealed_;
    sealed_ = true;
    std::unique_lock lock(mutex_);
    if (deliver) {
        finish_ = true;
        final_ = dmxFrame(settings_, 0);
        signalled_ = true;
        wake();
    }
    const bool answered =
        finishedChanged_.wait_for(lock, limit, [this] { return finished_ || !finish_; });
    finished_ = deliver ? answered && finished_ : true;
    stop_ = true;
    lock.unlock();
    wake();
    worker_.join();
    return finished_;
}

DmxStatus DmxOutput::status() const {
    const std::lock_guard lock(mutex_);
    return status_;
}

std::optional<std::string> DmxOutput::takeNotice() {
    const std::lock_guard lock(mutex_);
    if (status_.episode == noticed_) return std::nullopt;
    noticed_ = status_.episode;
    return status_.text;
}

DmxOutput::Counters DmxOutput::counters() const {
    const std::lock_guard lock(mutex_);
    return {framesSent_, inboxCollapsed_ + senderCollapsed_};
}

void DmxOutput::work() {
    // A batch thread never preempts the thread that wakes it: handing a frame over costs the
    // window thread the wake-up call only, even when both share one core.
    const sched_param batch{};
    ::pthread_setschedparam(::pthread_self(), SCHED_BATCH, &batch);

    DmxSender sender(*connection_);
    std::vector<DmxFrame> frames;
    frames.reserve(kInboxLimit + 1);
    bool finishing = false;
    for (;;) {
        signal_->drain();
        std::optional<DmxFrame> last;
        {
            const std::lock_guard lock(mutex_);
            if (stop_) break;
            frames.swap(inbox_);
            signalled_ = false;
            sender.enable(wanted_);
            if (finish_ && !finishing) last = final_;
        }
        for (const DmxFrame& frame : frames) sender.push(frame);
        frames.clear();
        if (last) {
            finishing = true;
            sender.finish(*last);
        }

        const auto now = DmxSender::Clock::now();
        const auto next = sender.run(now);
        {
            const std::lock_guard lock(mutex_);
            if (sender.episode() != status_.episode) {
                status_ = {sender.state(), sender.episode(),
                           describeDmxState(sender.state(), sender.stateFrame())};
            }
            framesSent_ = sender.framesSent();
            senderCollapsed_ = sender.framesCollapsed();
            if (sender.finished() && !finished_) {
                finished_ = true;
                finishedChanged_.notify_all();
            }
        }

        // The connection's socket is watched only while connected: until then the sender's own
        // deadline (the next attempt) is the only reason to wake, besides the window.
        const int answers = sender.connected() ? connection_->descriptor() : -1;
        pollfd fds[2] = {{signal_->fd(), POLLIN, 0}, {answers, POLLIN, 0}};
        int timeout = -1;
        if (next != DmxSender::Clock::time_point::max()) {
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(next - now).count();
            timeout = static_cast<int>(std::clamp<std::int64_t>(wait, 0, 60'000));
        }
        // Without its wake-up signal (no eventfd left) the worker looks for work on its own.
        if (signal_->fd() < 0 && (timeout < 0 || timeout > kLookWithoutSignalMs)) {
            timeout = kLookWithoutSignalMs;
        }
        ::poll(fds, 2, timeout);
    }
    connection_->close();
}

}  // namespace lumiere
