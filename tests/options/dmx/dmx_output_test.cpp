// SPDX-License-Identifier: GPL-3.0-or-later
#include "dmx/dmx_output.h"

#include <sys/resource.h>

#include <gtest/gtest.h>

#include <thread>

#include "dmx/dmx_sender.h"
#include "support/fake_dmx_connection.h"
#include "support/waiting.h"
#include "text/cp1252.h"

namespace lumiere {
namespace {

using namespace std::chrono_literals;

// The output with a fake daemon the test keeps an eye on.
struct Rig {
    explicit Rig(const DmxSettings& settings) {
        auto connection = std::make_unique<test::FakeDmxConnection>();
        daemon = connection.get();
        output = std::make_unique<DmxOutput>(std::move(connection), settings);
    }
    // (universe, lamps) of the frames the daemon applied, refreshes folded into one.
    std::vector<std::pair<int, int>> applied() const {
        std::vector<std::pair<int, int>> frames;
        for (const DmxFrame& f : daemon->applied()) {
            const std::pair<int, int> frame{f.universe, f.lamps};
            if (frames.empty() || frames.back() != frame) frames.push_back(frame);
        }
        return frames;
    }

    test::FakeDmxConnection* daemon = nullptr;  // owned by the output
    std::unique_ptr<DmxOutput> output;
};

using test::waitFor;

TEST(DmxOutputTest, FramesArriveInOrderAndShutdownEndsOnAnAnsweredAllOff) {
    Rig rig({true, 4, 1, 255});
    // Frames recorded before the first connection collapse to the latest: wait for it.
    ASSERT_TRUE(waitFor([&] { return rig.daemon->applied().size() == 1; }));
    std::vector<std::pair<int, int>> expected{{4, 0}};
    for (int i = 1; i <= 200; ++i) {
        rig.output->send(static_cast<std::uint8_t>(i));
        expected.emplace_back(4, i);
        // Bursts of 50 at once, each taken in before the next: within what may wait.
        if (i % 50 == 0) {
            ASSERT_TRUE(waitFor([&] { return rig.daemon->applied().size() >= 1u + i; }));
        }
    }
    EXPECT_TRUE(rig.output->shutdown());
    expected.emplace_back(4, 0);
    EXPECT_EQ(rig.applied(), expected);
    rig.output->send(0xFF);  // after shutdown: nothing
    EXPECT_EQ(rig.applied().back(), std::make_pair(4, 0));
    EXPECT_EQ(rig.output->counters().framesCollapsed, 0u);
}

TEST(DmxOutputTest, NewSettingsMoveTheLampsAndSwitchingOffLeavesTheUniverseDark) {
    Rig rig({true, 1, 1, 255});
    ASSERT_TRUE(waitFor([&] { return rig.daemon->applied().size() == 1; }));
    rig.output->send(0x81);
    rig.output->apply({true, 2, 1, 255});
    rig.output->send(0x18);
    rig.output->apply({false, 2, 1, 255});
    rig.output->send(0x42);  // off: not sent
    ASSERT_TRUE(waitFor([&] { return !rig.daemon->isOpen(); }));
    EXPECT_TRUE(rig.output->shutdown());  // nothing to deliver while off
    EXPECT_EQ(rig.applied(), (std::vector<std::pair<int, int>>{
                                 {1, 0}, {1, 0x81}, {1, 0}, {2, 0x81}, {2, 0x18}, {2, 0}}));
    EXPECT_EQ(rig.output->status().state, DmxLinkState::Off);
}

TEST(DmxOutputTest, FrozenDaemonNeitherHoldsTheWindowNorTheShutdown) {
    Rig rig({true, 1, 1, 255});
    ASSERT_TRUE(waitFor([&] { return rig.daemon->applied().size() == 1; }));
    rig.daemon->setAnswering(false);
    for (int i = 0; i < 20000; ++i) rig.output->send(static_cast<std::uint8_t>(i));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(rig.output->shutdown(100ms));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_LE(rig.output->counters().framesSent, 1 + DmxSender::kAhead + 1);
    EXPECT_GT(rig.output->counters().framesCollapsed, 19000u);
}

TEST(DmxOutputTest, MissingDaemonIsSaidOnce) {
    auto connection = std::make_unique<test::FakeDmxConnection>();
    connection->setUp(false);
    DmxOutput output(std::move(connection), {true, 1, 1, 255});
    std::optional<std::string> notice;
    ASSERT_TRUE(waitFor([&] { return (notice = output.takeNotice()).has_value(); }));
    EXPECT_EQ(toUtf8(*notice),
              "Sortie DMX : OLA ne répond pas (olad est arrêté, bloqué ou redémarre) ; nouvel "
              "essai chaque seconde.");
    EXPECT_EQ(output.status().state, DmxLinkState::NotResponding);
    for (int i = 0; i < 100; ++i) output.send(static_cast<std::uint8_t>(i));
    EXPECT_FALSE(output.takeNotice());
    EXPECT_FALSE(output.shutdown(50ms));
}

TEST(DmxOutputTest, RepeatedLampsAreOneFrameAndAnAbsentDaemonCostsNoTime) {
    Rig rig({true, 1, 1, 255});
    ASSERT_TRUE(waitFor([&] { return rig.daemon->applied().size() == 1; }));
    // The blinker's ticks while nothing moves: one frame, not one per tick.
    for (int i = 0; i < 100; ++i) rig.output->send(0x0F);
    rig.output->send(0x0F);
    rig.output->send(0xF0);
    ASSERT_TRUE(waitFor([&] { return rig.applied().size() == 3; }));
    EXPECT_LE(rig.daemon->sent().size(), 4u);  // at most one idle refresh besides
    EXPECT_EQ(rig.applied(), (std::vector<std::pair<int, int>>{{1, 0}, {1, 0x0F}, {1, 0xF0}}));

    // While the daemon is away the worker sleeps until its next attempt.
    rig.daemon->setUp(false);
    ASSERT_TRUE(waitFor([&] { return !rig.daemon->isOpen(); }));
    rig.daemon->setUp(false);  // news of a closed connection: nobody reads it
    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    std::this_thread::sleep_for(300ms);
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    const auto cpu = [](const rusage& r) {
        return r.ru_utime.tv_sec * 1e3 + r.ru_utime.tv_usec / 1e3 + r.ru_stime.tv_sec * 1e3 +
               r.ru_stime.tv_usec / 1e3;
    };
    EXPECT_LT(cpu(after) - cpu(before), 100.0) << "ms of CPU in 300 ms of waiting";
}

TEST(DmxOutputTest, OutputOffTouchesNoDaemon) {
    Rig rig({false, 1, 1, 255});
    for (int i = 0; i < 10; ++i) rig.output->send(static_cast<std::uint8_t>(i));
    EXPECT_TRUE(rig.output->shutdown());
    EXPECT_EQ(rig.daemon->opens(), 0);
    EXPECT_FALSE(rig.output->takeNotice());
}

}  // namespace
}  // namespace lumiere
