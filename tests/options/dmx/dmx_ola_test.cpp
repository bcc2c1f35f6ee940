// SPDX-License-Identifier: GPL-3.0-or-later
// The DMX output against a real olad (private folder and port, Dummy plugin only, 127.0.0.1),
// read back by an independent OLA client.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "app/application.h"
#include "dmx/dmx_option.h"
#include "dmx/dmx_output.h"
#include "dmx/dmx_sender.h"
#include "dmx/ola_connection.h"
#include "support/fake_platform.h"
#include "support/fake_serial_port.h"
#include "support/ola_daemon.h"
#include "support/ola_universe_reader.h"
#include "support/temp_folder.h"
#include "support/waiting.h"
#include "text/cp1252.h"

namespace lumiere {
namespace {

using namespace std::chrono_literals;

constexpr int kUniverse = 3;
constexpr DmxSettings kSettings{true, kUniverse, 10, 200};

using test::waitFor;

class DmxOlaTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(daemon.start()) << daemon.log(); }

    std::unique_ptr<DmxOutput> makeOutput() {
        return std::make_unique<DmxOutput>(std::make_unique<OlaConnection>(daemon.port()),
                                           kSettings);
    }
    std::unique_ptr<test::OlaUniverseReader> makeReader() {
        auto reader = std::make_unique<test::OlaUniverseReader>(daemon.port(), kUniverse);
        EXPECT_TRUE(reader->start());
        return reader;
    }
    static bool stateIs(const DmxOutput& output, DmxLinkState state) {
        return waitFor([&] { return output.status().state == state; });
    }

    test::OlaDaemon daemon{kUniverse};
};

TEST_F(DmxOlaTest, FramesReachTheUniverseInOrderAndSurviveARestart) {
    auto reader = makeReader();
    auto output = makeOutput();
    ASSERT_TRUE(stateIs(*output, DmxLinkState::Connected));
    ASSERT_TRUE(reader->waitForLamps(0, kSettings.firstChannel, 2s));

    std::vector<int> expected{0};
    for (int i = 1; i < 256; ++i) {
        output->send(static_cast<std::uint8_t>(i));
        expected.push_back(i);
        if (i % 50 == 0) {
            ASSERT_TRUE(reader->waitForLamps(i, kSettings.firstChannel, 2s));
        }
    }
    ASSERT_TRUE(reader->waitForLamps(255, kSettings.firstChannel, 2s));
    EXPECT_EQ(reader->lampSequence(kSettings.firstChannel), expected);
    const auto last = reader->updates().back().channels;
    EXPECT_EQ(last[8], 0);
    EXPECT_EQ(last[9], 200);   // channel 10, lamp 1
    EXPECT_EQ(last[16], 200);  // channel 17, lamp 8
    EXPECT_EQ(last[17], 0);

    daemon.stop();
    ASSERT_TRUE(stateIs(*output, DmxLinkState::NotResponding));
    output->send(0x55);  // while olad is away: the state the universe must get back
    reader.reset();
    ASSERT_TRUE(daemon.start()) << daemon.log();
    reader = makeReader();
    // Sent at once on reconnection, and refreshed every half second in case the reader was late.
    EXPECT_TRUE(reader->waitForLamps(0x55, kSettings.firstChannel, 3s));
    ASSERT_TRUE(stateIs(*output, DmxLinkState::Connected));
    output->send(0xAA);
    EXPECT_TRUE(reader->waitForLamps(0xAA, kSettings.firstChannel, 2s));

    // The all-off frame is answered before shutdown returns, so it is in the universe.
    EXPECT_TRUE(output->shutdown());
    EXPECT_TRUE(reader->waitForLamps(0, kSettings.firstChannel, 500ms));
}

TEST_F(DmxOlaTest, KilledOrFrozenDaemonIsSaidAndTheShowResumes) {
    auto output = makeOutput();
    ASSERT_TRUE(stateIs(*output, DmxLinkState::Connected));
    EXPECT_TRUE(output->takeNotice());

    daemon.freeze();
    for (int i = 0; i < 300; ++i) output->send(static_cast<std::uint8_t>(i));
    ASSERT_TRUE(stateIs(*output, DmxLinkState::NotResponding));
    EXPECT_LE(output->counters().framesSent, 2 + DmxSender::kAhead);
    daemon.thaw();
    ASSERT_TRUE(stateIs(*output, DmxLinkState::Connected));
    auto reader = makeReader();
    EXPECT_TRUE(reader->waitForLamps(299 % 256, kSettings.firstChannel, 2s));

    daemon.kill();
    ASSERT_TRUE(stateIs(*output, DmxLinkState::NotResponding));
    const auto notice = output->takeNotice();
    ASSERT_TRUE(notice);
    EXPECT_NE(notice->find("OLA ne r"), std::string::npos);
    EXPECT_FALSE(output->takeNotice());  // once for the episode
    EXPECT_FALSE(output->shutdown(100ms));
}

TEST_F(DmxOlaTest, UniverseWithoutAPortIsSaid) {
    DmxOutput output(std::make_unique<OlaConnection>(daemon.port()), {true, 42, 1, 255});
    ASSERT_TRUE(stateIs(output, DmxLinkState::UniverseMissing));
    output.apply(kSettings);
    ASSERT_TRUE(stateIs(output, DmxLinkState::Connected));
    EXPECT_TRUE(output.shutdown());
}

// A daemon that stopped accepting (frozen with its accept queue full) drops new connections
// unanswered: the attempt gives up within its limit instead of waiting out the SYN retries.
TEST(OlaConnectionTest, AnAttemptOnADaemonThatAcceptsNothingGivesUpQuickly) {
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    ASSERT_EQ(::listen(listener, 0), 0);
    // Fill the accept queue; the listener never accepts.
    std::vector<int> waiting;
    for (int i = 0; i < 4; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        (void)::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        waiting.push_back(fd);
    }
    std::this_thread::sleep_for(100ms);

    OlaConnection connection(ntohs(address.sin_port));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(connection.open());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_EQ(connection.descriptor(), -1);
    for (const int fd : waiting) ::close(fd);
    ::close(listener);
}

}  // namespace
}  // namespace lumiere

namespace lumiere {
namespace {

// Listens on 127.0.0.1 where olad would, and answers every connection with 64 bytes that are not
// OLA's protocol, then keeps it open and silent. Stopped when it goes out of scope.
class GarbageDaemon {
public:
    GarbageDaemon() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        ::listen(fd_, 16);
        thread_ = std::thread([this] {
            for (;;) {
                const int client = ::accept(fd_, nullptr, nullptr);
                if (client < 0) return;
                const std::string garbage(64, '\xff');
                if (::write(client, garbage.data(), garbage.size()) < 0) {
                }
                clients_.push_back(client);
                ++accepted_;
            }
        });
    }
    ~GarbageDaemon() {
        ::shutdown(fd_, SHUT_RDWR);
        ::close(fd_);
        thread_.join();
        for (const int client : clients_) ::close(client);
    }
    std::uint16_t port() const { return port_; }
    int accepted() const { return accepted_; }

private:
    int fd_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<int> accepted_{0};
    std::vector<int> clients_;
    std::thread thread_;
};

double processCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
           usage.ru_stime.tv_usec / 1e6;
}

TEST(DmxGarbage, ADaemonThatAnswersGarbageIsAFailedConnectionNotASpin) {
    GarbageDaemon garbage;
    TempFolder folder;
    folder.write("param.ini", "[Port]\r\nCOM=0\r\n[DMX]\r\nActif=1\r\n");
    test::FakePlatform platform;
    platform.folder = folder.path();
    test::FakeSerialPort port;
    Application app(platform, port, {makeDmxOption(olaConnector(garbage.port()))},
                    AppConfig{folder.file("ttyS")});
    app.Form_Load();
    std::this_thread::sleep_for(1500ms);
    const double cpuBefore = processCpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(2s);
    const double cpu =
        (processCpuSeconds() - cpuBefore) /
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
    EXPECT_LT(cpu, 0.05) << "share of one core";
    // Tried again on the usual schedule, once a second, not at once.
    EXPECT_GE(garbage.accepted(), 2);
    EXPECT_LE(garbage.accepted(), 6);
    app.Timer3_Timer();
    const std::string notice = toUtf8(app.form().status.notice);
    EXPECT_NE(notice.find("n’est pas olad"), std::string::npos) << notice;
    app.note("autre chose");
    std::this_thread::sleep_for(1500ms);  // another failed try
    app.Timer3_Timer();
    EXPECT_EQ(app.form().status.notice, "autre chose") << "said once, not at every try";
}

}  // namespace
}  // namespace lumiere
