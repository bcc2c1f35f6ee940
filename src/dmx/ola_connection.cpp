#include "dmx/ola_connection.h"

#include <ola/Callback.h>
#include <ola/DmxBuffer.h>
#include <ola/client/OlaClient.h>
#include <ola/io/SelectServer.h>
#include <ola/network/SocketAddress.h>
#include <ola/network/TCPSocket.h>

namespace lumiere {

// One connection to olad: its socket, the OLA client on it and the loop that reads the answers.
class OlaConnection::Session {
public:
    explicit Session(std::unique_ptr<ola::network::TCPSocket> socket)
        : socket_(std::move(socket)), client_(socket_.get()) {}
    ~Session() {
        selectServer_.RemoveReadDescriptor(socket_.get());
        // Stop() lets the client release what it still holds: the close handler and the
        // requests olad never answered.
        replies_.lost = true;
        client_.Stop();
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool start() {
        socket_->SetNoDelay();
        if (!client_.Setup()) return false;
        client_.SetCloseHandler(ola::NewSingleCallback(this, &Session::closed));
        return selectServer_.AddReadDescriptor(socket_.get());
    }

    bool send(const DmxFrame& frame) {
        if (replies_.lost) return false;
        const DmxChannels values = channelValues(frame);
        const ola::DmxBuffer buffer(values.data(), static_cast<unsigned>(values.size()));
        // With a callback the update is answered, after olad has put it in the universe.
        client_.SendDMX(static_cast<unsigned>(frame.universe), buffer,
                        ola::client::SendDMXArgs(ola::NewSingleCallback(this, &Session::answered)));
        return !replies_.lost;
    }

    DmxReplies collect() {
        if (!replies_.lost) selectServer_.RunOnce(ola::TimeInterval(0, 0));
        DmxReplies replies = replies_;
        replies_ = {};
        replies_.lost = replies.lost;
        return replies;
    }

    int descriptor() const { return replies_.lost ? -1 : socket_->ReadDescriptor(); }

private:
    void answered(const ola::client::Result& result) {
        if (replies_.lost) return;
        if (result.Success()) {
            ++replies_.applied;
            replies_.lastApplied = true;
        } else if (result.Error().find("niverse") != std::string::npos) {
            // "Universe doesn't exist": no port is patched to it.
            ++replies_.refused;
            replies_.lastApplied = false;
        } else {
            replies_.lost = true;  // the request failed on its way: the channel is gone
        }
    }
    void closed() { replies_.lost = true; }

    std::unique_ptr<ola::network::TCPSocket> socket_;
    ola::client::OlaClient client_;
    ola::io::SelectServer selectServer_;
    DmxReplies replies_;
};

OlaConnection::OlaConnection(std::uint16_t port) : port_(port) {}

OlaConnection::~OlaConnection() = default;

bool OlaConnection::open() {
    close();
    std::unique_ptr<ola::network::TCPSocket> socket(ola::network::TCPSocket::Connect(
        ola::network::IPV4SocketAddress(ola::network::IPV4Address::Loopback(), port_)));
    if (!socket) return false;
    auto session = std::make_unique<Session>(std::move(socket));
    if (!session->start()) return false;
    session_ = std::move(session);
    return true;
}

void OlaConnection::close() {
    session_.reset();
}

bool OlaConnection::send(const DmxFrame& frame) {
    return session_ && session_->send(frame);
}

DmxReplies OlaConnection::collect() {
    if (!session_) return {0, 0, true, true};
    return session_->collect();
}

int OlaConnection::descriptor() const {
    return session_ ? session_->descriptor() : -1;
}

}  // namespace lumiere
