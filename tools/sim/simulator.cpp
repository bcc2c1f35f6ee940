// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulator.h"

#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "lamp_display.h"

namespace lumiere::sim {

namespace {

constexpr std::int64_t kMillis = 1'000'000;
// At most ~30 redraws a second while frames arrive.
constexpr std::int64_t kRedrawIntervalNs = 33 * kMillis;
// With no frame arriving the line is still refreshed, so the rate decays to zero.
constexpr std::int64_t kIdleRedrawNs = 500 * kMillis;
// A line left exclusive with no byte for this long is taken as left over by a dead writer.
constexpr std::int64_t kExclusiveIdleNs = 1000 * kMillis;
constexpr std::int64_t kLongestSleepNs = 1000 * kMillis;

void writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t count = ::write(fd, text.data() + done, text.size() - done);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return;  // a closed terminal is no reason to stop
        done += static_cast<std::size_t>(count);
    }
}

}  // namespace

std::int64_t monotonicNs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * kNanosPerSecond + now.tv_nsec;
}

Simulator::Simulator(PtyLine& line, FrameLog& log, Settings settings)
    : line_(line), log_(log), settings_(settings) {
    lastByteNs_ = monotonicNs();
    nextExclusiveCheckNs_ = lastByteNs_ + kExclusiveIdleNs;
}

bool Simulator::run() {
    redraw(monotonicNs(), true);
    for (;;) {
        std::int64_t now = monotonicNs();
        housekeeping(now);
        if (settings_.stopAtNs && now >= *settings_.stopAtNs) break;

        std::array<pollfd, 2> watched{
            {{line_.masterFd(), POLLIN, 0}, {settings_.stopFd, POLLIN, 0}}};
        const int ready = ::poll(watched.data(), watched.size(), pollTimeoutMs(now));
        if (ready < 0) {
            if (errno == EINTR) continue;
            note(std::string("lumiere-sim : attente impossible (poll) : ") + std::strerror(errno));
            return false;
        }
        if (watched[0].revents & POLLIN) {
            if (!drainLine()) return false;
        } else if (watched[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            // Cannot happen while our own slave descriptor is open; stop rather than spin.
            note("lumiere-sim : la ligne a été raccrochée");
            return false;
        }
        if (watched[1].revents & POLLIN) {
            drainLine();  // keep what was sent just before the stop request
            break;
        }
    }
    housekeeping(monotonicNs());
    log_.flush();
    return true;
}

bool Simulator::drainLine() {
    std::array<std::uint8_t, 4096> buffer{};
    // Bounded, so a flood of bytes cannot starve the redraw and the stop request.
    for (int round = 0; round < 16; ++round) {
        const long count = line_.readAvailable(buffer);
        if (count < 0) {
            note(std::string("lumiere-sim : lecture de la ligne impossible : ") +
                 std::strerror(errno));
            return false;
        }
        if (count == 0) break;
        const std::int64_t now = monotonicNs();
        lastByteNs_ = now;
        events_.clear();
        decoder_.feed(std::span(buffer.data(), static_cast<std::size_t>(count)), events_);
        handleEvents(now);
    }
    return true;
}

void Simulator::handleEvents(std::int64_t now) {
    for (const LineEvent& event : events_) {
        if (event.kind == LineEvent::Kind::Stray) {
            log_.stray(now, event.value);
            continue;
        }
        timing_.record(now);
        rate_.record(now);
        log_.frame(now, event.value);
        lastValue_ = event.value;
    }
    displayDirty_ = true;
}

void Simulator::housekeeping(std::int64_t now) {
    if (const auto deadline = log_.flushDeadline(); deadline && now >= *deadline) log_.flush();

    if (settings_.liveDisplay) {
        const std::int64_t wait = displayDirty_ ? kRedrawIntervalNs : kIdleRedrawNs;
        if (now - lastDrawNs_ >= wait) redraw(now, false);
    }

    if (now >= nextExclusiveCheckNs_) {
        nextExclusiveCheckNs_ = now + kExclusiveIdleNs;
        if (now - lastByteNs_ >= kExclusiveIdleNs && line_.clearExclusiveMode()) {
            note(
                "lumiere-sim : la ligne était restée en mode exclusif (TIOCEXCL) sans trame "
                "depuis plus d'une seconde ; mode levé, comme à la fermeture d'un vrai port.");
        }
    }
}

void Simulator::redraw(std::int64_t now, bool force) {
    if (!settings_.liveDisplay) return;
    lastDrawNs_ = now;
    displayDirty_ = false;
    LampState state;
    state.value = lastValue_;
    state.frames = timing_.frames();
    state.strays = decoder_.strays();
    state.framesLastSecond = rate_.perSecond(now);
    std::string line = formatLampLine(state);
    if (!force && displayShown_ && line == shownLine_) return;
    writeAll(STDOUT_FILENO, "\r" + line + "\033[K");
    shownLine_ = std::move(line);
    displayShown_ = true;
}

int Simulator::pollTimeoutMs(std::int64_t now) const {
    std::int64_t wakeAt = std::min(now + kLongestSleepNs, nextExclusiveCheckNs_);
    if (settings_.stopAtNs) wakeAt = std::min(wakeAt, *settings_.stopAtNs);
    if (const auto deadline = log_.flushDeadline()) wakeAt = std::min(wakeAt, *deadline);
    if (settings_.liveDisplay) {
        wakeAt =
            std::min(wakeAt, lastDrawNs_ + (displayDirty_ ? kRedrawIntervalNs : kIdleRedrawNs));
    }
    const std::int64_t wait = std::max<std::int64_t>(wakeAt - now, 0);
    return static_cast<int>((wait + kMillis - 1) / kMillis);
}

void Simulator::closeDisplay() {
    if (!displayShown_) return;
    redraw(monotonicNs(), true);
    writeAll(STDOUT_FILENO, "\n");
    displayShown_ = false;
}

void Simulator::note(const std::string& message) {
    if (displayShown_) writeAll(STDOUT_FILENO, "\r\033[K");
    writeAll(STDERR_FILENO, message + "\n");
    if (displayShown_) writeAll(STDOUT_FILENO, "\r" + shownLine_ + "\033[K");
}

}  // namespace lumiere::sim
