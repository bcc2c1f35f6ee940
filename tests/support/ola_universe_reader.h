// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An independent OLA client that watches one universe: it registers for the universe's DMX data
// and records every update olad sends it, with the time it arrived, on a thread of its own.
// Tests and benchmarks use it to read back what the DMX output put in the universe.

#include <ola/Callback.h>
#include <ola/DmxBuffer.h>
#include <ola/client/OlaClient.h>
#include <ola/io/SelectServer.h>
#include <ola/network/SocketAddress.h>
#include <ola/network/TCPSocket.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace lumiere::test {

class OlaUniverseReader {
public:
    using Clock = std::chrono::steady_clock;
    struct Update {
        Clock::time_point at;
        std::array<std::uint8_t, 512> channels{};
    };

    OlaUniverseReader(std::uint16_t port, unsigned universe) : port_(port), universe_(universe) {}
    ~OlaUniverseReader() {
        if (thread_.joinable()) {
            selectServer_.Terminate();
            thread_.join();
        }
        if (socket_) selectServer_.RemoveReadDescriptor(socket_.get());
        client_.reset();
    }
    OlaUniverseReader(const OlaUniverseReader&) = delete;
    OlaUniverseReader& operator=(const OlaUniverseReader&) = delete;

    // Connects, registers for the universe (2 s at most) and starts recording.
    bool start() {
        socket_.reset(ola::network::TCPSocket::Connect(
            ola::network::IPV4SocketAddress(ola::network::IPV4Address::Loopback(), port_)));
        if (!socket_) return false;
        socket_->SetNoDelay();
        client_ = std::make_unique<ola::client::OlaClient>(socket_.get());
        if (!client_->Setup()) return false;
        selectServer_.AddReadDescriptor(socket_.get());
        client_->SetDMXCallback(ola::NewCallback(this, &OlaUniverseReader::received));
        client_->RegisterUniverse(universe_, ola::client::REGISTER,
                                  ola::NewSingleCallback(this, &OlaUniverseReader::registered));
        const auto deadline = Clock::now() + std::chrono::seconds(2);
        while (!registered_ && Clock::now() < deadline) {
            selectServer_.RunOnce(ola::TimeInterval(0, 10000));
        }
        if (!registered_) return false;
        thread_ = std::thread([this] { selectServer_.Run(); });
        return true;
    }

    std::vector<Update> updates() const {
        const std::lock_guard lock(mutex_);
        return updates_;
    }

    // The lamp byte an update holds, lamp k at channel firstChannel+k−1 (lit: not 0).
    static int lampsOf(const Update& update, int firstChannel) {
        int lamps = 0;
        for (int k = 0; k < 8; ++k) {
            if (update.channels[static_cast<std::size_t>(firstChannel - 1 + k)] != 0) {
                lamps |= 1 << k;
            }
        }
        return lamps;
    }

    // The lamp bytes received so far, a byte repeated in a row (the idle refresh) kept once.
    std::vector<int> lampSequence(int firstChannel) const {
        std::vector<int> lamps;
        for (const Update& update : updates()) {
            const int value = lampsOf(update, firstChannel);
            if (lamps.empty() || lamps.back() != value) lamps.push_back(value);
        }
        return lamps;
    }

    // Waits until the newest update holds `lamps`, or the deadline passes.
    bool waitForLamps(int lamps, int firstChannel, std::chrono::milliseconds limit) const {
        const auto deadline = Clock::now() + limit;
        for (;;) {
            {
                const std::lock_guard lock(mutex_);
                if (!updates_.empty() && lampsOf(updates_.back(), firstChannel) == lamps) {
                    return true;
                }
            }
            if (Clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

private:
    void registered(const ola::client::Result& result) { registered_ = result.Success(); }
    void received(const ola::client::DMXMetadata& metadata, const ola::DmxBuffer& data) {
        if (metadata.universe != universe_) return;
        Update update;
        update.at = Clock::now();
        unsigned length = static_cast<unsigned>(update.channels.size());
        data.Get(update.channels.data(), &length);
        const std::lock_guard lock(mutex_);
        updates_.push_back(update);
    }

    std::uint16_t port_;
    unsigned universe_;
    ola::io::SelectServer selectServer_;
    std::unique_ptr<ola::network::TCPSocket> socket_;
    std::unique_ptr<ola::client::OlaClient> client_;
    bool registered_ = false;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<Update> updates_;
};

}  // namespace lumiere::test
