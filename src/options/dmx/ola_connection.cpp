// SPDX-License-Identifier: GPL-3.0-or-later
#include "dmx/ola_connection.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include <ola/Callback.h>
#include <ola/DmxBuffer.h>
#include <ola/client/OlaClient.h>
#include <ola/io/SelectServer.h>
#include <ola/network/TCPSocket.h>

namespace lumiere {
namespace {

// Connects to olad's RPC port on 127.0.0.1 within `limitMs`. A daemon frozen long enough for its
// accept queue to fill leaves a blocking connect waiting through the kernel's SYN retries, about
// two minutes, during which neither the next attempt nor the program's end could go on.
int connectWithin(std::uint16_t port, int limitMs) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int error = 0;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) < 0) {
        error = errno;
        if (error == EINPROGRESS) {
            pollfd writable{fd, POLLOUT, 0};
            error = ETIMEDOUT;
            if (::poll(&writable, 1, limitMs) == 1) {
                socklen_t length = sizeof error;
                if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) < 0) error = errno;
            }
        }
    }
    // Once connected the socket blocks again, as the OLA client expects of its sockets.
    if (error != 0 || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) < 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

constexpr int kConnectLimitMs = 500;
// Turns of reading that leave the same bytes waiting, without an answer, before the connection
// is taken as not speaking OLA's protocol: a few microseconds of a garbled reply.
constexpr int kStuckTurns = 20;

}  // namespace

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
        if (!replies_.lost) {
            // OLA's reader leaves bytes it cannot make sense of where they are: the socket would
            // stay readable, and the worker would wake for them forever. Bytes that wait, and
            // wait again after reading, with no answer made of them, time after time, are not
            // OLA's protocol: the connection has failed. (A real answer may come in parts, and
            // more may arrive while reading: one such turn proves nothing.)
            const int before = waiting();
            const std::size_t answered = replies_.applied + replies_.refused;
            selectServer_.RunOnce(ola::TimeInterval(0, 0));
            const bool stuck = before > 0 && waiting() >= before &&
                               replies_.applied + replies_.refused == answered;
            stuckTurns_ = stuck ? stuckTurns_ + 1 : 0;
            if (stuckTurns_ >= kStuckTurns && !replies_.lost) {
                replies_.lost = true;
                replies_.garbled = true;
            }
        }
        DmxReplies replies = replies_;
        replies_ = {};
        replies_.lost = replies.lost;
        return replies;
    }

    int descriptor() const { return replies_.lost ? -1 : socket_->ReadDescriptor(); }

private:
    // Bytes that have arrived and wait to be read.
    int waiting() const {
        int bytes = 0;
        return ::ioctl(socket_->ReadDescriptor(), FIONREAD, &bytes) == 0 ? bytes : 0;
    }
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
    int stuckTurns_ = 0;
};

OlaConnection::OlaConnection(std::uint16_t port) : port_(port) {}

OlaConnection::~OlaConnection() = default;

bool OlaConnection::open() {
    close();
    const int fd = connectWithin(port_, kConnectLimitMs);
    if (fd < 0) return false;
    auto socket = std::make_unique<ola::network::TCPSocket>(fd);
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
    if (!session_) return {0, 0, true, true, false};
    return session_->collect();
}

int OlaConnection::descriptor() const {
    return session_ ? session_->descriptor() : -1;
}

DmxConnector olaConnector(std::uint16_t port) {
    return [port] { return std::make_unique<OlaConnection>(port); };
}

}  // namespace lumiere
