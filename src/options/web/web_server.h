// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The HTTP and WebSocket server of the web remote, on Qt's HttpServer and WebSockets modules (Qt
// parses every request). It lives on a thread of its own (see web_remote.h) and never calls the
// desk: commands go out through Hooks::command, state comes in through publish().
//
// - Without a session, "/" is the pairing page, POST /entrer checks a code, /style.css is served;
//   every other page, the API (/api/etat) and the WebSocket (/ws) are refused.
// - A WebSocket is kept only with a session, the page's own Origin, and fewer than kMaxPhones
//   phones; Qt hands it over upgraded, so a refused one is closed at once with a policy code and
//   a reason. A message over kMaxMessageBytes closes it (close code 1009).
// - The window's thread offers each new state without waiting on this thread (offer()); a state
//   not yet taken is replaced by the newer one.
// - Each phone gets the latest state; while it has more than kBacklogBytes not yet written (it
//   does not read), states are skipped, and the latest goes out when it drains.

#include <QAbstractHttpServer>
#include <QByteArray>
#include <QString>
#include <QTimer>
#include <QWebSocket>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "web/pairing.h"
#include "web/rate_limit.h"
#include "web/remote_desk.h"

namespace lumiere {

class ConnectionGuard;

class WebServer : public QAbstractHttpServer {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr int kMaxPhones = 8;
    static constexpr qint64 kBacklogBytes = 16 * 1024;
    static constexpr std::chrono::seconds kPing{15};
    static constexpr std::chrono::seconds kSilence{45};  // no pong for that long: the phone is gone
    static constexpr std::chrono::seconds kTooFastNotice{1};
    static constexpr std::chrono::milliseconds kPoll{2};

    struct Hooks {
        // A phone's command, to run on the window's thread; its refusal comes back by refuse().
        std::function<void(std::uint64_t phone, const RemoteCommand& command)> command;
        // A measurement page applied state N (only when set: otherwise {"vu":N} is refused).
        std::function<void(std::uint64_t number)> seen;
        // The number of phones connected changed.
        std::function<void(int phones)> phones;
    };

    WebServer(std::string_view code, std::string machineName, Hooks hooks);
    ~WebServer() override;

    // Listens; on failure returns false and the French reason.
    bool start(const QHostAddress& address, quint16 port, QString& error);
    // Closes every connection, telling each phone why.
    void stop(const QString& reason);

    // From the window's thread: the newest state. Only swaps a pointer; the server's thread takes
    // it every kPoll while phones are connected, and before a new phone or /api/etat gets one.
    void offer(RemoteState state, std::uint64_t number);
    void refuse(std::uint64_t phone, const std::string& reason);
    // A new code: every phone is disconnected and must pair again.
    void renew(const std::string& code);

    int phones() const { return static_cast<int>(phones_.size()); }
    int port() const;
    std::string code() const { return pairing_.code(); }

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

private:
    struct Phone {
        std::unique_ptr<QWebSocket> socket;
        bool stale = false;  // a state was skipped while it did not read
        CommandRateLimit limit;
        Clock::time_point lastTooFast{};
        Clock::time_point lastPong{};
    };

    struct Offered {
        RemoteState state;
        std::uint64_t number = 0;
    };

    bool takeOffered();
    void publish(const QString& state);
    void takeWebSockets();
    void admit(std::unique_ptr<QWebSocket> socket);
    void turnAway(std::unique_ptr<QWebSocket> socket, int code, const QString& reason,
                  const std::string& message = {});
    void received(std::uint64_t id, const QString& text);
    void drained(std::uint64_t id);
    void sendIfRoom(Phone& phone, const QString& message);
    void ping();
    void countPhones();
    bool hasSession(const QHttpServerRequest& request) const;
    bool hasSession(const QByteArray& cookies) const;

    Pairing pairing_;
    std::string machineName_;
    Hooks hooks_;
    ConnectionGuard* guard_ = nullptr;
    std::map<std::uint64_t, Phone> phones_;
    std::uint64_t nextPhone_ = 1;
    QString latest_;
    QTimer ping_{this};
    QTimer poll_{this};
    std::atomic<Offered*> offered_{nullptr};
};

}  // namespace lumiere
