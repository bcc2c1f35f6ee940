// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The listening socket under the HTTP server, with the limits Qt's server does not set itself:
// - at most kMaxConnections HTTP connections at once; one more is closed at once;
// - a request (headers and body) of more than kMaxRequestBytes closes its connection;
// - a connection that completes no request for kIdle is closed (a client that sends a few bytes
//   and waits holds nothing for long).
// A connection upgraded to a WebSocket leaves the guard: the server watches it from then on.
// Lives on the server's thread.

#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <chrono>

namespace lumiere {

class ConnectionGuard : public QTcpServer {
public:
    static constexpr int kMaxConnections = 64;
    static constexpr qint64 kMaxRequestBytes = 64 * 1024;
    static constexpr qint64 kMaxUnreadBytes = 256 * 1024;  // answers a client does not read
    static constexpr std::chrono::seconds kIdle{10};

    explicit ConnectionGuard(QObject* parent = nullptr);

    // A request of `socket` was answered: its byte count and idle time start again.
    void requestDone(QTcpSocket* socket);
    // The connection from this peer became a WebSocket.
    void upgraded(const QHostAddress& address, quint16 port);
    int open() const;

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    struct Watched {
        QPointer<QTcpSocket> socket;
        qint64 received = 0;
        std::chrono::steady_clock::time_point since;
    };

    Watched* find(QTcpSocket* socket);
    void received(QTcpSocket* socket);
    void sweep();

    QList<Watched> watched_;
    QTimer sweep_{this};
};

}  // namespace lumiere
