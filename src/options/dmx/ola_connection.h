// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The connection to olad, the Open Lighting Architecture daemon, over its RPC port on 127.0.0.1.
// Each frame is sent as a DMX update that olad answers once the universe holds it. The client
// never starts a daemon of its own. The OLA headers stay inside ola_connection.cpp; a build
// without OLA (LUMIERE_WITH_OLA=OFF) has no such connection, and olaConnector() is empty.

#include <cstdint>
#include <memory>

#include "dmx/dmx_connection.h"

namespace lumiere {

inline constexpr std::uint16_t kOlaDefaultPort = 9010;

// Connections to olad on 127.0.0.1, or an empty connector in a build without OLA.
DmxConnector olaConnector(std::uint16_t port = kOlaDefaultPort);

class OlaConnection final : public DmxConnection {
public:
    explicit OlaConnection(std::uint16_t port = kOlaDefaultPort);
    ~OlaConnection() override;

    bool open() override;
    void close() override;
    bool send(const DmxFrame& frame) override;
    DmxReplies collect() override;
    int descriptor() const override;

private:
    class Session;

    std::uint16_t port_;
    std::unique_ptr<Session> session_;
};

}  // namespace lumiere
