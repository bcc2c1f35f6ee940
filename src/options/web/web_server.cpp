// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/web_server.h"

#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QHttpServerResponse>
#include <QNetworkRequest>
#include <QTcpSocket>
#include <QUrlQuery>

#include "web/connection_guard.h"
#include "web/remote_command.h"
#include "web/remote_message.h"
#include "web/web_origin.h"
#include "web/web_texts.h"

namespace lumiere {
namespace {

using Status = QHttpServerResponder::StatusCode;
using Method = QHttpServerRequest::Method;

// Already kMaxPhones phones: a code of the range left to applications (Qt's own clients take the
// registry's later "try again later", 1013, for a protocol error).
constexpr int kCloseFull = 4429;

QByteArray resource(const char* name) {
    QFile file(QStringLiteral(":/lumiere/web/") + QString::fromLatin1(name));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

// The pages' own files, read once from the program's resources.
struct Pages {
    QByteArray pair = resource("pair.html");
    QByteArray desk = resource("desk.html");
    QByteArray script = resource("remote.js");
    QByteArray style = resource("style.css");
};

const Pages& pages() {
    static const Pages instance;
    return instance;
}

QByteArray htmlEscaped(const QString& text) {
    return text.toHtmlEscaped().toUtf8();
}

QByteArray pairingPage(const QString& message) {
    QByteArray page = pages().pair;
    const QByteArray note =
        message.isEmpty() ? QByteArray()
                          : "<p class=\"alerte\" role=\"alert\">" + htmlEscaped(message) + "</p>";
    page.replace("<!--MESSAGE-->", note);
    return page;
}

QHttpServerResponse text(const QString& message, Status status) {
    return QHttpServerResponse("text/plain; charset=utf-8", message.toUtf8(), status);
}

// What Qt's server takes for a WebSocket handshake (and then upgrades).
bool isWebSocketUpgrade(const QHttpServerRequest& request) {
    return request.value("Upgrade").compare("websocket", Qt::CaseInsensitive) == 0 &&
           request.value("Connection").toLower().contains("upgrade");
}

QString french(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

WebServer::WebServer(std::string_view code, std::string machineName, Hooks hooks)
    : pairing_(code), machineName_(std::move(machineName)), hooks_(std::move(hooks)) {
    guard_ = new ConnectionGuard(this);
    connect(this, &QAbstractHttpServer::newWebSocketConnection, this, &WebServer::takeWebSockets);
    ping_.setInterval(kPing);
    connect(&ping_, &QTimer::timeout, this, &WebServer::ping);
    ping_.start();
    poll_.setTimerType(Qt::PreciseTimer);
    poll_.setInterval(kPoll);
    connect(&poll_, &QTimer::timeout, this, [this] { takeOffered(); });
}

WebServer::~WebServer() {
    phones_.clear();
    delete offered_.exchange(nullptr);
}

void WebServer::offer(RemoteState state, std::uint64_t number) {
    delete offered_.exchange(new Offered{std::move(state), number}, std::memory_order_acq_rel);
}

bool WebServer::takeOffered() {
    const std::unique_ptr<Offered> next(offered_.exchange(nullptr, std::memory_order_acq_rel));
    if (!next) return false;
    publish(QString::fromStdString(stateMessage(next->state, next->number)));
    return true;
}

bool WebServer::start(const QHostAddress& address, quint16 port, QString& error) {
    if (!guard_->listen(address, port)) {
        error = guard_->serverError() == QAbstractSocket::AddressInUseError
                    ? french(web_text::kPortInUse).arg(port)
                    : french(web_text::kCannotListen).arg(port).arg(guard_->errorString());
        return false;
    }
    bind(guard_);
    return true;
}

int WebServer::port() const {
    return guard_->serverPort();
}

void WebServer::stop(const QString& reason) {
    // Taken out first: a socket that closes at once runs its "disconnected" handler here.
    const auto phones = std::move(phones_);
    phones_.clear();
    const QString message = QString::fromStdString(closingMessage(reason.toStdString()));
    for (const auto& [id, phone] : phones) {
        phone.socket->sendTextMessage(message);
        phone.socket->close(QWebSocketProtocol::CloseCodeGoingAway, reason);
        phone.socket->flush();
    }
    guard_->close();
    countPhones();
}

bool WebServer::hasSession(const QByteArray& cookies) const {
    const auto token = sessionFromCookies(cookies.toStdString());
    return token && pairing_.hasSession(*token);
}

bool WebServer::hasSession(const QHttpServerRequest& request) const {
    return hasSession(request.value("Cookie"));
}

bool WebServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
    // Qt's server asks here first, then upgrades the connection whatever the answer: nothing is
    // written, and the WebSocket is checked once Qt hands it over (admit()).
    if (isWebSocketUpgrade(request)) {
        // States are small and frequent: each goes out at once instead of waiting for the last
        // one's acknowledgement. And a closing frame goes out before Qt closes the socket: with
        // a refused message still unread, the system resets the connection at close and throws
        // away whatever it was still holding back, so the phone would never learn why.
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        return true;
    }
    guard_->requestDone(socket);
    const QByteArray host = request.value("Host");
    const QString path = request.url().path();
    const Method method = request.method();
    const bool read = method == Method::Get || method == Method::Head;
    const bool paired = hasSession(request);

    QHttpServerResponse out = [&]() -> QHttpServerResponse {
        if (!hostAllowed(host.toStdString(), machineName_))
            return text(french(web_text::kBadHost), Status::BadRequest);
        if (path == QLatin1String("/entrer")) {
            if (method != Method::Post)
                return text(french(web_text::kMethod), Status::MethodNotAllowed);
            const QByteArray origin = request.value("Origin");
            if (!origin.isEmpty() && !sameOrigin(origin.toStdString(), host.toStdString()))
                return text(french(web_text::kBadOrigin), Status::Forbidden);
            const QString code =
                QUrlQuery(QString::fromUtf8(request.body())).queryItemValue(QStringLiteral("code"));
            const auto answer = pairing_.tryCode(request.remoteAddress().toString().toStdString(),
                                                 code.toStdString(), Clock::now());
            using Result = Pairing::Answer::Result;
            if (answer.result == Result::Accepted) {
                QHttpServerResponse accepted(Status::SeeOther);
                accepted.setHeader("Location", "/");
                accepted.setHeader("Set-Cookie",
                                   QByteArray::fromStdString(sessionCookie(answer.token)));
                return accepted;
            }
            const auto seconds = std::chrono::ceil<std::chrono::seconds>(answer.wait).count();
            QString message = french(web_text::kWrongCode);
            if (answer.wait.count() > 0)
                message =
                    (answer.result == Result::Wrong ? message + QLatin1Char(' ') : QString()) +
                    french(web_text::kPaused).arg(seconds);
            QHttpServerResponse refused(
                "text/html; charset=utf-8", pairingPage(message),
                answer.wait.count() > 0 ? Status::TooManyRequests : Status::Forbidden);
            if (answer.wait.count() > 0)
                refused.setHeader("Retry-After", QByteArray::number(seconds));
            return refused;
        }
        if (!read) return text(french(web_text::kMethod), Status::MethodNotAllowed);
        if (path == QLatin1String("/"))
            return QHttpServerResponse("text/html; charset=utf-8",
                                       paired ? pages().desk : pairingPage({}));
        if (path == QLatin1String("/favicon.ico")) return QHttpServerResponse(Status::NoContent);
        if (path == QLatin1String("/style.css"))
            return QHttpServerResponse("text/css; charset=utf-8", pages().style);
        if (!paired) return text(french(web_text::kNoSession), Status::Forbidden);
        if (path == QLatin1String("/remote.js"))
            return QHttpServerResponse("text/javascript; charset=utf-8", pages().script);
        if (path == QLatin1String("/api/etat")) {
            takeOffered();
            return QHttpServerResponse("application/json", latest_.toUtf8());
        }
        return text(french(web_text::kNotFound), Status::NotFound);
    }();
    out.setHeader("Cache-Control", "no-store");
    out.setHeader("X-Content-Type-Options", "nosniff");
    out.setHeader("X-Frame-Options", "DENY");
    // "no-referrer" would make the browser send "Origin: null" with the pairing form.
    out.setHeader("Referrer-Policy", "same-origin");
    out.setHeader("Content-Security-Policy",
                  "default-src 'self'; connect-src 'self'; img-src 'self' data:; "
                  "frame-ancestors 'none'; base-uri 'none'; form-action 'self'");
    out.write(makeResponder(request, socket));
    return true;
}

void WebServer::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
    if (isWebSocketUpgrade(request)) return;
    text(french(web_text::kNotFound), Status::NotFound).write(makeResponder(request, socket));
}

void WebServer::takeWebSockets() {
    while (hasPendingWebSocketConnections()) {
        std::unique_ptr<QWebSocket> socket = nextPendingWebSocketConnection();
        if (!socket) continue;
        guard_->upgraded(socket->peerAddress(), socket->peerPort());
        socket->setMaxAllowedIncomingFrameSize(kMaxMessageBytes);
        socket->setMaxAllowedIncomingMessageSize(kMaxMessageBytes);
        // Checked once Qt's handshake code has returned: closing it inside that code makes Qt
        // read from a closed socket.
        QWebSocket* raw = socket.release();
        raw->setParent(this);
        QMetaObject::invokeMethod(
            this,
            [this, raw] {
                raw->setParent(nullptr);
                admit(std::unique_ptr<QWebSocket>(raw));
            },
            Qt::QueuedConnection);
    }
}

void WebServer::turnAway(std::unique_ptr<QWebSocket> owned, int code, const QString& reason,
                         const std::string& message) {
    QWebSocket* socket = owned.release();
    socket->setParent(this);
    connect(socket, &QWebSocket::disconnected, socket, &QObject::deleteLater);
    // A peer that never answers the closing handshake is cut off.
    QTimer::singleShot(std::chrono::seconds(2), socket, [socket] { socket->abort(); });
    if (!message.empty()) socket->sendTextMessage(QString::fromStdString(message));
    socket->close(static_cast<QWebSocketProtocol::CloseCode>(code), reason);
}

void WebServer::admit(std::unique_ptr<QWebSocket> socket) {
    const QNetworkRequest request = socket->request();
    const QByteArray host = request.rawHeader("Host");
    const auto policy = QWebSocketProtocol::CloseCodePolicyViolated;
    if (request.url().path() != QLatin1String("/ws") ||
        !hostAllowed(host.toStdString(), machineName_))
        return turnAway(std::move(socket), policy, french(web_text::kBadHost));
    if (!sameOrigin(socket->origin().toStdString(), host.toStdString()))
        return turnAway(std::move(socket), policy, french(web_text::kBadOrigin));
    if (!hasSession(request.rawHeader("Cookie")))
        return turnAway(std::move(socket), policy, french(web_text::kNoSession));
    if (phones() >= kMaxPhones)
        return turnAway(std::move(socket), kCloseFull, french(web_text::kFull),
                        closingMessage(web_text::kFull));

    const std::uint64_t id = nextPhone_++;
    QWebSocket* raw = socket.get();
    connect(raw, &QWebSocket::textMessageReceived, this,
            [this, id](const QString& text) { received(id, text); });
    connect(raw, &QWebSocket::binaryMessageReceived, this,
            [this, id](const QByteArray&) { refuse(id, web_text::kUnreadable); });
    connect(raw, &QWebSocket::bytesWritten, this, [this, id](qint64) { drained(id); });
    connect(raw, &QWebSocket::pong, this, [this, id](quint64, const QByteArray&) {
        if (auto it = phones_.find(id); it != phones_.end()) it->second.lastPong = Clock::now();
    });
    connect(raw, &QWebSocket::disconnected, this, [this, id] {
        // Removed after the signal returns: the socket is still inside its own code here.
        if (auto it = phones_.find(id); it != phones_.end()) {
            it->second.socket.release()->deleteLater();
            phones_.erase(it);
            countPhones();
        }
    });
    Phone& phone = phones_[id];
    phone.socket = std::move(socket);
    phone.lastPong = Clock::now();
    countPhones();
    // A newer state goes to every phone, this one included; otherwise it gets the latest.
    if (!takeOffered() && !latest_.isEmpty()) sendIfRoom(phone, latest_);
}

void WebServer::sendIfRoom(Phone& phone, const QString& message) {
    if (phone.socket->bytesToWrite() > kBacklogBytes) {
        phone.stale = true;
        return;
    }
    phone.stale = false;
    phone.socket->sendTextMessage(message);
}

void WebServer::publish(const QString& state) {
    latest_ = state;
    for (auto& [id, phone] : phones_) sendIfRoom(phone, latest_);
}

void WebServer::drained(std::uint64_t id) {
    const auto it = phones_.find(id);
    if (it == phones_.end() || !it->second.stale) return;
    sendIfRoom(it->second, latest_);
}

void WebServer::refuse(std::uint64_t id, const std::string& reason) {
    const auto it = phones_.find(id);
    if (it == phones_.end() || reason.empty()) return;
    // Skipped, like a state, while the phone does not read; never queued.
    if (it->second.socket->bytesToWrite() > kBacklogBytes) return;
    it->second.socket->sendTextMessage(QString::fromStdString(refusalMessage(reason)));
}

void WebServer::received(std::uint64_t id, const QString& text) {
    const auto it = phones_.find(id);
    if (it == phones_.end()) return;
    const PhoneMessage message = parsePhoneMessage(text.toStdString());
    switch (message.kind) {
        case PhoneMessage::Kind::Refused:
            refuse(id, message.refusal);
            return;
        case PhoneMessage::Kind::Seen:
            if (hooks_.seen)
                hooks_.seen(message.seen);
            else
                refuse(id, web_text::kUnknownCommand);
            return;
        case PhoneMessage::Kind::Command:
            break;
    }
    Phone& phone = it->second;
    const auto now = Clock::now();
    if (!phone.limit.admit(now)) {
        if (now - phone.lastTooFast >= kTooFastNotice) {
            phone.lastTooFast = now;
            refuse(id, web_text::kTooFast);
        }
        return;
    }
    if (hooks_.command) hooks_.command(id, message.command);
}

void WebServer::renew(const std::string& code) {
    pairing_.renew(code);
    const std::string message = closingMessage(web_text::kNewCode);
    auto phones = std::move(phones_);
    phones_.clear();
    for (auto& [id, phone] : phones)
        turnAway(std::move(phone.socket), QWebSocketProtocol::CloseCodePolicyViolated,
                 french(web_text::kNewCode), message);
    countPhones();
}

void WebServer::ping() {
    const auto now = Clock::now();
    for (auto it = phones_.begin(); it != phones_.end();) {
        if (now - it->second.lastPong > kSilence) {
            std::unique_ptr<QWebSocket> socket = std::move(it->second.socket);
            it = phones_.erase(it);
            socket->abort();
            socket.release()->deleteLater();
        } else {
            it->second.socket->ping();
            ++it;
        }
    }
    countPhones();
}

void WebServer::countPhones() {
    // States are taken only while someone looks at them.
    if (phones_.empty())
        poll_.stop();
    else if (!poll_.isActive())
        poll_.start();
    if (hooks_.phones) hooks_.phones(phones());
}

}  // namespace lumiere
