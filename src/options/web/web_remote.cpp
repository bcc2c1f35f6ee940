// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/web_remote.h"

#include <pthread.h>
#include <sched.h>
#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QObject>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <optional>

#include "web/pairing.h"
#include "web/remote_message.h"
#include "web/web_server.h"
#include "web/web_texts.h"

namespace lumiere {

namespace {

// The server's thread wakes on its own timers and sockets. As an ordinary thread it would often
// preempt the window's thread on its core at once and hold it while it sends to every phone. A
// batch thread gets the same share of the processor but never preempts the thread running
// when it wakes: it runs on the other core, or once the window's thread waits.
void neverPreemptTheWindow() {
#ifdef SCHED_BATCH
    sched_param parameter{};
    parameter.sched_priority = 0;
    pthread_setschedparam(pthread_self(), SCHED_BATCH, &parameter);
#endif
}

}  // namespace

struct WebRemote::Impl {
    Impl(RemoteDesk& d, Options o) : desk(d), options(std::move(o)) {}

    void start();
    void stop();
    void run(std::uint64_t phone, const RemoteCommand& command);
    void changed();

    RemoteDesk& desk;
    Options options;
    WebSettings settings;
    std::string code;
    std::string error;
    int port = 0;

    QObject window;  // lives on the window's thread: the phones' commands are posted to it
    std::unique_ptr<QThread> thread;
    std::unique_ptr<QObject> anchor;  // lives on the server's thread
    WebServer* server = nullptr;      // created, used and deleted on the server's thread

    std::optional<RemoteState> last;  // window thread
    std::uint64_t number = 0;

    std::atomic<int> phones{0};
};

void WebRemote::Impl::start() {
    error.clear();
    last.reset();
    thread = std::make_unique<QThread>();
    thread->setObjectName(QStringLiteral("lumiere-web"));
    thread->start();
    anchor = std::make_unique<QObject>();
    anchor->moveToThread(thread.get());

    WebServer::Hooks hooks;
    hooks.command = [this](std::uint64_t phone, const RemoteCommand& command) {
        QMetaObject::invokeMethod(
            &window, [this, phone, command] { run(phone, command); }, Qt::QueuedConnection);
    };
    hooks.seen = options.seen;
    hooks.phones = [this](int count) { phones = count; };

    const QHostAddress address =
        settings.network ? QHostAddress(QHostAddress::Any) : QHostAddress(QHostAddress::LocalHost);
    const auto wanted = static_cast<quint16>(settings.port);
    const std::string machine = QHostInfo::localHostName().toStdString();
    QString failure;
    bool ok = false;
    int listening = 0;
    // Listening takes a moment once, at start; everything after runs on the server's thread.
    QMetaObject::invokeMethod(
        anchor.get(),
        [&] {
            neverPreemptTheWindow();
            server = new WebServer(code, machine, std::move(hooks));
            ok = server->start(address, wanted, failure);
            if (ok) listening = server->port();
            if (!ok) {
                delete server;
                server = nullptr;
            }
        },
        Qt::BlockingQueuedConnection);
    if (!ok) {
        error = failure.toStdString();
        stop();
        return;
    }
    this->port = listening;
    changed();
}

void WebRemote::Impl::stop() {
    if (!thread) return;
    if (server) {
        QMetaObject::invokeMethod(
            anchor.get(),
            [this] {
                server->stop(QString::fromUtf8(web_text::kStopped));
                delete server;
                server = nullptr;
            },
            Qt::BlockingQueuedConnection);
    }
    thread->quit();
    thread->wait();
    anchor.reset();
    thread.reset();
    phones = 0;
}

void WebRemote::Impl::run(std::uint64_t phone, const RemoteCommand& command) {
    if (!server) return;
    const RemoteState state = desk.remoteState();
    std::string reason;
    if (!state.busy.empty()) {
        reason = state.busy;
    } else if (command.kind == RemoteCommand::Kind::RunSequence &&
               std::find(state.sequences.begin(), state.sequences.end(), command.name) ==
                   state.sequences.end()) {
        reason = web_text::kUnknownSequence;
    } else {
        reason = desk.runRemote(command);
    }
    if (!reason.empty()) {
        QMetaObject::invokeMethod(
            server, [this, phone, reason] { server->refuse(phone, reason); }, Qt::QueuedConnection);
    }
    changed();  // what the command's handler did, at once
}

void WebRemote::Impl::changed() {
    if (!server) return;
    RemoteState state = desk.remoteState();
    if (last && *last == state) return;
    last = state;
    server->offer(std::move(state), ++number);
}

WebRemote::WebRemote(RemoteDesk& desk, const WebSettings& settings, Options options)
    : impl_(std::make_unique<Impl>(desk, std::move(options))) {
    apply(settings);
}

WebRemote::~WebRemote() {
    impl_->stop();
}

void WebRemote::apply(const WebSettings& next) {
    Impl& d = *impl_;
    const bool restart = !d.thread || next.enabled != d.settings.enabled ||
                         next.port != d.settings.port || next.network != d.settings.network;
    const bool newCode = isValidCode(next.code) && next.code != d.code;
    d.settings = next;
    if (d.code.empty() || newCode) d.code = isValidCode(next.code) ? next.code : randomCode();
    d.settings.code = d.code;
    if (restart) {
        d.stop();
        d.error.clear();
        if (d.settings.enabled) d.start();
    } else if (newCode && d.server) {
        QMetaObject::invokeMethod(
            d.server, [&d, code = d.code] { d.server->renew(code); }, Qt::QueuedConnection);
    }
}

const WebSettings& WebRemote::settings() const {
    return impl_->settings;
}

void WebRemote::changed() {
    impl_->changed();
}

std::string WebRemote::newCode() {
    Impl& d = *impl_;
    d.code = randomCode();
    d.settings.code = d.code;
    if (d.server) {
        QMetaObject::invokeMethod(
            d.server, [&d, code = d.code] { d.server->renew(code); }, Qt::QueuedConnection);
    }
    return d.code;
}

const std::string& WebRemote::code() const {
    return impl_->code;
}

bool WebRemote::listening() const {
    return impl_->server != nullptr;
}

const std::string& WebRemote::error() const {
    return impl_->error;
}

std::vector<std::string> WebRemote::addresses() const {
    const WebSettings& s = impl_->settings;
    const auto url = [&](const QString& host) {
        return QStringLiteral("http://%1:%2/").arg(host).arg(port()).toStdString();
    };
    const std::string loopback = url(QStringLiteral("127.0.0.1"));
    if (!s.network) return {loopback};
    std::vector<std::string> out;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) ||
            !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            const QHostAddress ip = entry.ip();
            if (ip.protocol() == QAbstractSocket::IPv4Protocol && !ip.isLoopback())
                out.push_back(url(ip.toString()));
        }
    }
    out.push_back(loopback);
    return out;
}

int WebRemote::port() const {
    return impl_->server ? impl_->port : 0;
}

int WebRemote::phones() const {
    return impl_->phones;
}

std::uint64_t WebRemote::stateNumber() const {
    return impl_->number;
}

}  // namespace lumiere
