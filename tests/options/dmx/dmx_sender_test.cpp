// SPDX-License-Identifier: GPL-3.0-or-later
#include "dmx/dmx_sender.h"

#include <gtest/gtest.h>

#include "support/fake_dmx_connection.h"

namespace lumiere {
namespace {

using namespace std::chrono_literals;
using Clock = DmxSender::Clock;

// A sender, its fake daemon and a clock that moves only when told.
class DmxSenderTest : public testing::Test {
protected:
    DmxSenderTest() { sender.enable(true); }

    DmxFrame frame(int lamps, int universe = 1) {
        return dmxFrame({true, universe, 1, 255}, static_cast<std::uint8_t>(lamps));
    }
    // Runs the sender as its thread would at this instant, woken by each answer, until it has
    // nothing left to do; returns when it wants to run next.
    Clock::time_point settle() {
        Clock::time_point next{};
        for (int i = 0; i < 200; ++i) next = sender.run(now);
        return next;
    }
    std::vector<int> lampsSent() const {
        std::vector<int> lamps;
        for (const DmxFrame& f : daemon.sent()) lamps.push_back(f.lamps);
        return lamps;
    }

    test::FakeDmxConnection daemon;
    DmxSender sender{daemon};
    Clock::time_point now = Clock::time_point(100s);
};

TEST_F(DmxSenderTest, EveryFrameGoesOutInOrderWhileTheDaemonKeepsUp) {
    std::vector<int> expected;
    for (int i = 0; i < 300; ++i) {
        sender.push(frame(i % 256));
        expected.push_back(i % 256);
        if (i % 25 == 0) {  // bursts larger than what may wait for answers
            settle();
            now += 10ms;
        }
    }
    settle();
    EXPECT_EQ(lampsSent(), expected);
    EXPECT_EQ(daemon.applied().size(), expected.size());
    EXPECT_EQ(daemon.opens(), 1);
    EXPECT_EQ(sender.state(), DmxLinkState::Connected);
    EXPECT_EQ(sender.framesCollapsed(), 0u);
}

TEST_F(DmxSenderTest, IdleUniverseIsRefreshedWithTheLatestState) {
    sender.push(frame(0x15));
    settle();
    ASSERT_EQ(lampsSent().size(), 1u);
    for (int second = 0; second < 5; ++second) {
        const Clock::time_point next = settle();
        EXPECT_LE(next - now, 1s);
        now = next;
        settle();
    }
    const auto sent = lampsSent();
    EXPECT_GE(sent.size(), 6u);
    for (int lamps : sent) EXPECT_EQ(lamps, 0x15);
}

TEST_F(DmxSenderTest, FrozenDaemonGetsABoundedBacklogThenTheLatestState) {
    sender.push(frame(1));
    settle();
    daemon.setAnswering(false);
    const auto episodeBefore = sender.episode();
    for (int i = 0; i < 2000; ++i) {  // 20 s of frames at 100 per second
        sender.push(frame(i % 200 + 2));
        settle();
        now += 10ms;
    }
    EXPECT_LE(daemon.sent().size(), 1 + DmxSender::kAhead);
    EXPECT_EQ(sender.state(), DmxLinkState::NotResponding);
    EXPECT_EQ(sender.episode(), episodeBefore + 1);  // said once for the whole episode
    EXPECT_EQ(daemon.opens(), 1);                    // a frozen daemon is not reconnected

    daemon.setAnswering(true);
    settle();
    EXPECT_EQ(sender.state(), DmxLinkState::Connected);
    EXPECT_EQ(lampsSent().back(), 1999 % 200 + 2);
    EXPECT_EQ(daemon.applied().back().lamps, 1999 % 200 + 2);
    EXPECT_GT(sender.framesCollapsed(), 1900u);
}

TEST_F(DmxSenderTest, MissingDaemonIsRetriedEverySecondAndSaidOnce) {
    daemon.setUp(false);
    sender.push(frame(3));
    sender.push(frame(4));
    Clock::time_point next = settle();
    EXPECT_EQ(sender.state(), DmxLinkState::NotResponding);
    EXPECT_EQ(daemon.opens(), 1);
    EXPECT_EQ(next - now, DmxSender::kRetry);
    const auto episode = sender.episode();

    now += 500ms;
    settle();
    EXPECT_EQ(daemon.opens(), 1);
    for (int i = 0; i < 5; ++i) {
        sender.push(frame(10 + i));
        now = settle();
        settle();
    }
    EXPECT_EQ(daemon.opens(), 6);
    EXPECT_EQ(sender.episode(), episode);

    daemon.setUp(true);
    now += 1s;
    settle();
    // Only the current state goes out after the gap, at once.
    EXPECT_EQ(lampsSent(), std::vector<int>({14}));
    EXPECT_EQ(sender.state(), DmxLinkState::Connected);
    EXPECT_EQ(sender.episode(), episode + 1);
}

TEST_F(DmxSenderTest, DaemonRestartedMidShowGetsTheCurrentStateBack) {
    sender.push(frame(7));
    settle();
    now += 5s;
    daemon.setUp(false);  // killed: the next look at the connection finds it gone
    sender.push(frame(8));
    Clock::time_point next = settle();
    EXPECT_EQ(sender.state(), DmxLinkState::NotResponding);
    EXPECT_EQ(daemon.opens(), 2);  // one attempt at once, in case it is already back
    EXPECT_EQ(next - now, DmxSender::kRetry);

    sender.push(frame(9));
    now += 300ms;
    daemon.setUp(true);  // restarted
    now = settle();
    settle();
    EXPECT_EQ(daemon.opens(), 3);
    EXPECT_EQ(lampsSent().back(), 9);
    EXPECT_EQ(daemon.applied().back().lamps, 9);
    EXPECT_EQ(sender.state(), DmxLinkState::Connected);
}

TEST_F(DmxSenderTest, TheLastFrameIsFinishedOnlyOnceAnswered) {
    sender.push(frame(0xFF));
    settle();
    daemon.setAnswering(false);
    sender.push(frame(0x0F));
    sender.finish(frame(0));
    sender.push(frame(0xAA));  // nothing after the last frame
    now += 100ms;
    settle();
    EXPECT_FALSE(sender.finished());
    daemon.setAnswering(true);
    settle();
    EXPECT_TRUE(sender.finished());
    EXPECT_EQ(lampsSent(), std::vector<int>({0xFF, 0}));
    EXPECT_EQ(daemon.applied().back().lamps, 0);
}

TEST_F(DmxSenderTest, FinishingWhileDisconnectedTriesAtOnce) {
    daemon.setUp(false);
    sender.push(frame(5));
    settle();
    daemon.setUp(true);
    now += 200ms;  // before the next regular attempt
    sender.finish(frame(0));
    settle();
    EXPECT_TRUE(sender.finished());
    EXPECT_EQ(lampsSent(), std::vector<int>({0}));
}

TEST_F(DmxSenderTest, UnknownUniverseIsSaidAndSwitchingOffClosesAfterTheLastFrame) {
    daemon.setMissing(9);
    sender.push(frame(1, 9));
    settle();
    EXPECT_EQ(sender.state(), DmxLinkState::UniverseMissing);
    EXPECT_NE(describeDmxState(sender.state(), sender.stateFrame()).find("univers 9"),
              std::string::npos);
    sender.push(frame(1, 2));
    settle();
    EXPECT_EQ(sender.state(), DmxLinkState::Connected);

    sender.push(frame(0, 2));
    sender.enable(false);
    EXPECT_EQ(settle(), Clock::time_point::max());
    EXPECT_EQ(lampsSent().back(), 0);
    EXPECT_FALSE(daemon.isOpen());
    EXPECT_EQ(sender.state(), DmxLinkState::Off);
}

}  // namespace
}  // namespace lumiere
