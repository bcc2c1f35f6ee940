// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/connection_guard.h"

#include <unistd.h>

namespace lumiere {
namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

ConnectionGuard::ConnectionGuard(QObject* parent) : QTcpServer(parent) {
    sweep_.setInterval(std::chrono::seconds(1));
    connect(&sweep_, &QTimer::timeout, this, &ConnectionGuard::sweep);
    sweep_.start();
}

int ConnectionGuard::open() const {
    int count = 0;
    for (const Watched& w : watched_) count += w.socket ? 1 : 0;
    return count;
}

void ConnectionGuard::incomingConnection(qintptr descriptor) {
    if (open() >= kMaxConnections) {
        ::close(static_cast<int>(descriptor));
        return;
    }
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        ::close(static_cast<int>(descriptor));
        return;
    }
    // Connected before the HTTP server's own slot, so the bytes are counted before it parses.
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { received(socket); });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    watched_.append({socket, 0, Clock::now()});
    addPendingConnection(socket);
}

ConnectionGuard::Watched* ConnectionGuard::find(QTcpSocket* socket) {
    for (Watched& w : watched_) {
        if (w.socket == socket) return &w;
    }
    return nullptr;
}

void ConnectionGuard::received(QTcpSocket* socket) {
    Watched* w = find(socket);
    if (!w) return;
    w->received += socket->bytesAvailable();
    if (w->received > kMaxRequestBytes) {
        // Nothing more is read from it; the HTTP server's slot sees no bytes and the socket goes.
        socket->abort();
    }
}

void ConnectionGuard::requestDone(QTcpSocket* socket) {
    Watched* w = find(socket);
    if (!w) return;
    w->received = 0;
    w->since = Clock::now();
    if (socket->bytesToWrite() > kMaxUnreadBytes) socket->abort();
}

void ConnectionGuard::upgraded(const QHostAddress& address, quint16 port) {
    watched_.removeIf([&](const Watched& w) {
        return w.socket && w.socket->peerPort() == port && w.socket->peerAddress() == address;
    });
}

void ConnectionGuard::sweep() {
    const auto now = Clock::now();
    watched_.removeIf([](const Watched& w) { return !w.socket; });
    for (const Watched& w : watched_) {
        if (now - w.since > kIdle) w.socket->abort();
    }
}

}  // namespace lumiere
