// SPDX-License-Identifier: GPL-3.0-or-later
// lumiere-dmx-bench: the DMX output against a private olad (Dummy plugin only, 127.0.0.1), read
// back by an independent OLA client. Prints:
//   - frames sent and received in order at 100 frames per second for 10 s;
//   - the window thread's cost per frame (median, p99, max) with olad up, killed and frozen;
//   - the delay from a frame to the universe (median, p95).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "dmx/dmx_output.h"
#include "dmx/ola_connection.h"
#include "support/ola_daemon.h"
#include "support/ola_universe_reader.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kUniverse = 1;
constexpr lumiere::DmxSettings kSettings{true, kUniverse, 1, 255};
constexpr auto kPeriod = 10ms;

double micros(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

double percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

struct Sent {
    Clock::time_point at;
    int lamps;
};

// Sends `count` frames at 100 per second as the blinker would; returns when each was handed over
// and what the call cost the sending thread.
std::vector<Sent> play(lumiere::DmxOutput& output, int count, int first,
                       std::vector<double>& costs) {
    std::vector<Sent> sent;
    sent.reserve(static_cast<std::size_t>(count));
    auto tick = Clock::now();
    for (int i = 0; i < count; ++i) {
        std::this_thread::sleep_until(tick);
        const int lamps = (first + i) % 256;
        const auto before = Clock::now();
        output.send(static_cast<std::uint8_t>(lamps));
        const auto after = Clock::now();
        costs.push_back(micros(after - before));
        sent.push_back({before, lamps});
        tick += kPeriod;
    }
    return sent;
}

void printCosts(const char* label, const std::vector<double>& costs) {
    std::printf("%-34s median %7.2f us  p99 %7.2f us  max %8.2f us  (%zu frames)\n", label,
                percentile(costs, 0.5), percentile(costs, 0.99),
                costs.empty() ? 0.0 : *std::max_element(costs.begin(), costs.end()), costs.size());
}

template <typename Condition>
bool waitFor(Condition condition, Clock::duration limit) {
    const auto deadline = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

bool connected(const lumiere::DmxOutput& output) {
    return waitFor([&] { return output.status().state == lumiere::DmxLinkState::Connected; }, 5s);
}

// Matches the frames sent against the updates read back, in order; a repeated update (the idle
// refresh) is skipped. Returns how many frames were found and their delays.
int matchInOrder(const std::vector<Sent>& sent,
                 const std::vector<lumiere::test::OlaUniverseReader::Update>& updates,
                 std::vector<double>& delays) {
    std::size_t u = 0;
    int found = 0;
    for (const Sent& frame : sent) {
        std::size_t v = u;
        while (v < updates.size() &&
               (updates[v].at < frame.at ||
                lumiere::test::OlaUniverseReader::lampsOf(updates[v], 1) != frame.lamps)) {
            ++v;
        }
        if (v == updates.size()) continue;  // lost, or out of order
        delays.push_back(micros(updates[v].at - frame.at));
        ++found;
        u = v + 1;
    }
    return found;
}

}  // namespace

int main() {
    lumiere::test::OlaDaemon daemon(kUniverse);
    if (!daemon.start()) {
        std::fprintf(stderr, "olad did not start:\n%s\n", daemon.log().c_str());
        return 1;
    }
    lumiere::test::OlaUniverseReader reader(daemon.port(), kUniverse);
    if (!reader.start()) {
        std::fprintf(stderr, "the reader could not register for universe %d\n", kUniverse);
        return 1;
    }
    lumiere::DmxOutput output(std::make_unique<lumiere::OlaConnection>(daemon.port()), kSettings);
    if (!connected(output)) {
        std::fprintf(stderr, "the output did not connect\n");
        return 1;
    }
    // The universe holds 0 after connecting: the show starts at 1 so every frame differs from
    // the one before it.
    std::printf("lumiere-dmx-bench: olad %d on 127.0.0.1:%u, universe %d, 100 frames/s\n\n",
                daemon.pid(), daemon.port(), kUniverse);

    std::vector<double> upCosts;
    const std::vector<Sent> sent = play(output, 1000, 1, upCosts);
    waitFor([&] { return reader.updates().size() >= sent.size(); }, 2s);
    std::this_thread::sleep_for(50ms);  // a late update still counts as received
    std::vector<double> delays;
    const int inOrder = matchInOrder(sent, reader.updates(), delays);
    std::printf("frames sent %zu, received in order %d, lost or out of order %zu\n", sent.size(),
                inOrder, sent.size() - static_cast<std::size_t>(inOrder));
    std::printf("frame -> universe delay: median %.0f us, p95 %.0f us, max %.0f us\n\n",
                percentile(delays, 0.5), percentile(delays, 0.95),
                delays.empty() ? 0.0 : *std::max_element(delays.begin(), delays.end()));

    printCosts("window thread, olad up:", upCosts);

    daemon.kill();
    std::vector<double> killedCosts;
    play(output, 300, 0, killedCosts);
    printCosts("window thread, olad killed:", killedCosts);

    if (!daemon.start() || !connected(output)) {
        std::fprintf(stderr, "olad did not come back:\n%s\n", daemon.log().c_str());
        return 1;
    }
    daemon.freeze();
    std::vector<double> frozenCosts;
    play(output, 300, 0, frozenCosts);
    printCosts("window thread, olad frozen:", frozenCosts);
    const auto counters = output.counters();
    std::printf("\nsent to olad %llu (refreshes included), collapsed while olad lagged %llu\n",
                static_cast<unsigned long long>(counters.framesSent),
                static_cast<unsigned long long>(counters.framesCollapsed));

    daemon.thaw();
    const auto thawed = Clock::now();
    const bool back = connected(output);
    std::printf("olad thawed: answering again after %.0f ms\n",
                micros(Clock::now() - thawed) / 1e3);
    const auto stop = Clock::now();
    const bool delivered = output.shutdown();
    std::printf("shutdown: all-off frame %s in %.2f ms\n",
                delivered ? "answered by olad" : "NOT answered", micros(Clock::now() - stop) / 1e3);
    return back && delivered && inOrder == static_cast<int>(sent.size()) ? 0 : 1;
}
