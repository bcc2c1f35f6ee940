// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plain clients for the web remote's server tests, on the test's own (window) thread: raw HTTP
// over a QTcpSocket (so a test can send anything, malformed included) and QWebSocket phones that
// keep what they received. Waiting runs the test thread's events until a condition holds.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkRequest>
#include <QTcpSocket>
#include <QWebSocket>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace lumiere::test {

template <typename Condition>
bool waitUntil(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > limit.count()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

struct HttpAnswer {
    int status = 0;  // 0: no answer (the connection was closed)
    QByteArray head;
    QByteArray body;
    QByteArray header(const QByteArray& name) const {
        for (const QByteArray& line : head.split('\n')) {
            const int colon = line.indexOf(':');
            if (colon > 0 && line.left(colon).trimmed().toLower() == name.toLower())
                return line.mid(colon + 1).trimmed();
        }
        return {};
    }
};

// Sends `request` as it is and reads one answer (by its Content-Length), or until closed.
inline HttpAnswer exchange(int port, const QByteArray& request,
                           std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), static_cast<quint16>(port));
    if (!waitUntil([&] { return socket.state() == QAbstractSocket::ConnectedState; })) return {};
    socket.write(request);
    QByteArray data;
    HttpAnswer answer;
    waitUntil(
        [&] {
            data += socket.readAll();
            const int end = data.indexOf("\r\n\r\n");
            if (end < 0) return socket.state() != QAbstractSocket::ConnectedState;
            answer.head = data.left(end);
            const QByteArray length = answer.header("Content-Length");
            return data.size() - end - 4 >= length.toInt() ||
                   socket.state() != QAbstractSocket::ConnectedState;
        },
        limit);
    const int end = data.indexOf("\r\n\r\n");
    if (end < 0) return {};
    answer.head = data.left(end);
    answer.body = data.mid(end + 4);
    const QList<QByteArray> status = answer.head.split(' ');
    if (status.size() > 1) answer.status = status[1].toInt();
    return answer;
}

inline QByteArray get(const QByteArray& path, int port, const QByteArray& cookie = {}) {
    QByteArray request = "GET " + path +
                         " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) +
                         "\r\nConnection: close\r\n";
    if (!cookie.isEmpty()) request += "Cookie: " + cookie + "\r\n";
    return request + "\r\n";
}

inline QByteArray postCode(const QByteArray& code, int port) {
    const QByteArray body = "code=" + code;
    return "POST /entrer HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) +
           "\r\nOrigin: http://127.0.0.1:" + QByteArray::number(port) +
           "\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

// The "name=value" of the session cookie the right code gives, or nothing.
inline QByteArray pair(const std::string& code, int port) {
    const HttpAnswer answer = exchange(port, postCode(QByteArray::fromStdString(code), port));
    const QByteArray cookie = answer.header("Set-Cookie");
    return cookie.left(cookie.indexOf(';'));
}

// A phone: a WebSocket to /ws with a cookie and an Origin, keeping every message.
class Phone {
public:
    Phone(int port, const QByteArray& cookie, QString origin = {})
        : socket_(origin.isNull() ? QStringLiteral("http://127.0.0.1:%1").arg(port) : origin) {
        QObject::connect(&socket_, &QWebSocket::textMessageReceived,
                         [this](const QString& text) { messages.push_back(text); });
        QObject::connect(&socket_, &QWebSocket::disconnected, [this] {
            closed = true;
            closeCode = socket_.closeCode();
            closeReason = socket_.closeReason();
        });
        QNetworkRequest request(QUrl(QStringLiteral("ws://127.0.0.1:%1/ws").arg(port)));
        if (!cookie.isEmpty()) request.setRawHeader("Cookie", cookie);
        socket_.open(request);
    }

    QWebSocket& socket() { return socket_; }
    bool open() const { return socket_.state() == QAbstractSocket::ConnectedState && !closed; }

    // The messages of type `type` received so far.
    std::vector<QJsonObject> of(const QString& type) const {
        std::vector<QJsonObject> out;
        for (const QString& text : messages) {
            const QJsonObject o = QJsonDocument::fromJson(text.toUtf8()).object();
            if (o["t"].toString() == type) out.push_back(o);
        }
        return out;
    }
    QJsonObject lastState() const {
        const auto states = of(QStringLiteral("etat"));
        return states.empty() ? QJsonObject() : states.back();
    }

    std::vector<QString> messages;
    bool closed = false;
    int closeCode = 0;
    QString closeReason;

private:
    QWebSocket socket_;
};

}  // namespace lumiere::test
