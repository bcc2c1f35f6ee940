// SPDX-License-Identifier: GPL-3.0-or-later
// The web remote's server on 127.0.0.1, driven by plain clients: pairing, the session on every
// page, API and WebSocket, the Origin, the limits (phones, message size, commands a second), and
// hostile clients (malformed HTTP, huge headers and bodies, a phone that never reads), with the
// window thread's changed() never held.

#include <gtest/gtest.h>
#include <QJsonArray>
#include <QTcpServer>

#include "support/blocking.h"
#include "support/fake_desk.h"
#include "support/web_client.h"
#include "web/pairing.h"
#include "web/remote_command.h"
#include "web/web_remote.h"
#include "web/web_texts.h"

namespace lumiere {
namespace {

using namespace std::chrono_literals;
using test::exchange;
using test::get;
using test::Phone;
using test::waitUntil;

class WebServerTest : public ::testing::Test {
protected:
    WebServerTest() : remote(desk, {true, 0, false, "424242"}) { port = remote.port(); }

    // A paired phone that has its first state.
    std::unique_ptr<Phone> phone(const QByteArray& cookie) {
        auto p = std::make_unique<Phone>(port, cookie);
        EXPECT_TRUE(waitUntil([&] { return !p->of("etat").empty() || p->closed; }));
        return p;
    }

    void send(Phone& p, const std::string& text) {
        p.socket().sendTextMessage(QString::fromStdString(text));
    }

    bool refused(Phone& p, const char* reason) {
        return waitUntil([&] {
            for (const QJsonObject& o : p.of("refus"))
                if (o["raison"].toString() == QString::fromUtf8(reason)) return true;
            return false;
        });
    }

    test::FakeDesk desk;
    WebRemote remote;
    int port = 0;
};

TEST_F(WebServerTest, WithoutASessionOnlyThePairingPageIsServed) {
    ASSERT_TRUE(remote.listening());
    const auto home = exchange(port, get("/", port));
    EXPECT_EQ(home.status, 200);
    EXPECT_TRUE(home.body.contains("name=\"code\""));
    EXPECT_TRUE(home.body.contains(">Entrer</button>"));
    EXPECT_FALSE(home.body.contains("Chennillard"));
    EXPECT_EQ(home.header("Cache-Control"), "no-store");
    for (const char* path : {"/remote.js", "/api/etat", "/ws", "/autre"})
        EXPECT_EQ(exchange(port, get(path, port)).status, 403) << path;
    EXPECT_EQ(
        exchange(port, get("/api/etat", port, "lumiere_session=" + QByteArray(64, 'a'))).status,
        403);

    Phone anonymous(port, {});
    ASSERT_TRUE(waitUntil([&] { return anonymous.closed; }));
    EXPECT_EQ(anonymous.closeCode, 1008);
    EXPECT_TRUE(anonymous.of("etat").empty());
}

TEST_F(WebServerTest, TheRightCodeGivesASessionCookieAndTheDesk) {
    const auto wrong = exchange(port, test::postCode("111111", port));
    EXPECT_EQ(wrong.status, 403);
    EXPECT_TRUE(wrong.body.contains(QString::fromUtf8(web_text::kWrongCode).toUtf8()));
    EXPECT_TRUE(wrong.header("Set-Cookie").isEmpty());

    const auto right = exchange(port, test::postCode("424242", port));
    EXPECT_EQ(right.status, 303);
    EXPECT_EQ(right.header("Location"), "/");
    const QByteArray cookie = right.header("Set-Cookie");
    EXPECT_TRUE(cookie.startsWith("lumiere_session=")) << cookie.constData();
    EXPECT_TRUE(cookie.contains("; HttpOnly; SameSite=Strict; Path=/")) << cookie.constData();

    const QByteArray session = cookie.left(cookie.indexOf(';'));
    const auto page = exchange(port, get("/", port, session));
    EXPECT_TRUE(page.body.contains("Chennillard"));
    EXPECT_TRUE(page.body.contains("Marche / Arr"));
    EXPECT_EQ(exchange(port, get("/remote.js", port, session)).status, 200);
    const auto api = exchange(port, get("/api/etat", port, session));
    EXPECT_EQ(api.status, 200);
    EXPECT_TRUE(api.body.startsWith("{\"t\":\"etat\""));

    // A request naming a foreign host (DNS rebinding) or from a foreign page is refused.
    QByteArray foreign = get("/", port, session);
    foreign.replace("Host: 127.0.0.1:", "Host: evil.example:");
    EXPECT_EQ(exchange(port, foreign).status, 400);
    QByteArray cross = test::postCode("424242", port);
    cross.replace("Origin: http://127.0.0.1:", "Origin: http://evil.example:");
    EXPECT_EQ(exchange(port, cross).status, 403);
}

TEST_F(WebServerTest, SixWrongCodesPauseTheAddress) {
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(exchange(port, test::postCode("000000", port)).status, i < 5 ? 403 : 429);
    const auto sixth = exchange(port, test::postCode("424242", port));  // even the right code
    EXPECT_EQ(sixth.status, 429);
    EXPECT_TRUE(sixth.body.contains("Trop d'essais"));
    EXPECT_GE(sixth.header("Retry-After").toInt(), 25);
    EXPECT_TRUE(sixth.header("Set-Cookie").isEmpty());
}

TEST_F(WebServerTest, AWebSocketNeedsTheSessionAndThePagesOwnOrigin) {
    const QByteArray session = test::pair("424242", port);
    Phone foreign(port, session, QStringLiteral("http://evil.example"));
    ASSERT_TRUE(waitUntil([&] { return foreign.closed; }));
    EXPECT_EQ(foreign.closeCode, 1008);
    EXPECT_EQ(foreign.closeReason, QString::fromUtf8(web_text::kBadOrigin));
    EXPECT_TRUE(foreign.messages.empty());

    auto own = phone(session);
    ASSERT_TRUE(own->open());
    EXPECT_EQ(own->lastState()["general"].toInt(), 10);
    EXPECT_EQ(remote.phones(), 1);
}

TEST_F(WebServerTest, CommandsRunOnTheWindowThreadAndRefusalsComeBackToTheirPhone) {
    auto p = phone(test::pair("424242", port));
    auto other = phone(test::pair("424242", port));
    send(*p, R"({"c":"marche"})");
    ASSERT_TRUE(waitUntil([&] { return p->lastState()["marche"].toBool(); }));
    EXPECT_EQ(desk.ranOn, std::this_thread::get_id());
    EXPECT_TRUE(waitUntil([&] { return other->lastState()["marche"].toBool(); }));

    send(*p, R"({"c":"effet","n":7})");
    ASSERT_TRUE(waitUntil([&] { return p->lastState()["effets"].toArray()[6].toBool(); }));

    send(*p, "{\"c\":\"marche\"");
    EXPECT_TRUE(refused(*p, web_text::kUnreadable));
    send(*p, R"({"c":"danse"})");
    EXPECT_TRUE(refused(*p, web_text::kUnknownCommand));
    send(*p, R"({"vu":3})");  // not a measurement server
    EXPECT_TRUE(refused(*p, web_text::kUnknownCommand));
    p->socket().sendBinaryMessage("\x01\x02");
    EXPECT_TRUE(refused(*p, web_text::kUnreadable));
    send(*p, R"({"c":"lancer","nom":"absente.txt"})");
    EXPECT_TRUE(refused(*p, web_text::kUnknownSequence));
    desk.refuseWith = "Le fichier de séquence est illisible.";
    send(*p, R"({"c":"lancer","nom":"soirée.txt"})");
    EXPECT_TRUE(refused(*p, "Le fichier de séquence est illisible."));
    desk.refuseWith.clear();

    // A dialog open on the desk: refused with its reason, nothing runs, the page is told.
    desk.state.busy = "Une fenêtre est ouverte sur le pupitre.";
    remote.changed();
    ASSERT_TRUE(waitUntil([&] { return !p->lastState()["occupe"].toString().isEmpty(); }));
    const std::size_t ran = desk.ran.size();
    send(*p, R"({"c":"stop"})");
    EXPECT_TRUE(refused(*p, "Une fenêtre est ouverte sur le pupitre."));
    EXPECT_EQ(desk.ran.size(), ran);
    EXPECT_TRUE(other->of("refus").empty());
}

TEST_F(WebServerTest, AMessageOverFourKiBClosesThatPhoneAndTheShowGoesOn) {
    const QByteArray session = test::pair("424242", port);
    auto hostile = phone(session);
    auto p = phone(session);
    send(*hostile, std::string(1 << 20, 'x'));
    ASSERT_TRUE(waitUntil([&] { return hostile->closed; }));
    EXPECT_EQ(hostile->closeCode, 1009);

    send(*p, R"({"c":"marche"})");
    ASSERT_TRUE(waitUntil([&] { return p->lastState()["marche"].toBool(); }));
    for (int i = 0; i < 5; ++i) {
        desk.tick();
        remote.changed();
    }
    EXPECT_TRUE(waitUntil([&] { return p->lastState()["n"].toInt() >= 7; }));
    EXPECT_TRUE(p->open());
    // Just under the limit is a message like any other.
    send(*p, R"({"c":"lancer","nom":")" + std::string(kMaxMessageBytes - 30, 'a') + "\"}");
    EXPECT_TRUE(refused(*p, web_text::kUnknownSequence));
    EXPECT_TRUE(p->open());
}

TEST_F(WebServerTest, TwentyConnectionsEightServedTheRestTold) {
    const QByteArray session = test::pair("424242", port);
    std::vector<std::unique_ptr<Phone>> phones;
    for (int i = 0; i < 20; ++i) phones.push_back(std::make_unique<Phone>(port, session));
    const auto served = [&] {
        return std::count_if(phones.begin(), phones.end(),
                             [](const auto& p) { return !p->closed && !p->of("etat").empty(); });
    };
    const auto told = [&] {
        return std::count_if(phones.begin(), phones.end(), [](const auto& p) {
            return p->closed && p->closeCode == 4429 && !p->of("fin").empty();
        });
    };
    ASSERT_TRUE(waitUntil([&] { return served() == 8 && told() == 12; }))
        << served() << " served, " << told() << " told";
    for (const auto& p : phones) {
        if (p->closed) {
            EXPECT_EQ(p->of("fin").front()["raison"].toString(),
                      QString::fromUtf8(web_text::kFull));
        }
    }
    EXPECT_EQ(remote.phones(), 8);
    // One leaves: a new phone is served.
    for (auto& p : phones) {
        if (!p->closed) {
            p->socket().close();
            break;
        }
    }
    ASSERT_TRUE(waitUntil([&] { return remote.phones() == 7; }));
    auto late = phone(session);
    EXPECT_TRUE(late->open());
}

TEST_F(WebServerTest, MoreThanFiftyCommandsASecondAreDropped) {
    auto p = phone(test::pair("424242", port));
    for (int i = 0; i < 200; ++i) send(*p, R"({"c":"general","n":5})");
    EXPECT_TRUE(refused(*p, web_text::kTooFast));
    waitUntil([&] { return false; }, 300ms);  // let every message arrive
    EXPECT_GE(desk.ran.size(), 50u);
    EXPECT_LE(desk.ran.size(), 100u);  // at most 50 in any second; the sends took under 2 s
    EXPECT_TRUE(p->open());
}

TEST_F(WebServerTest, HostileHttpIsRefusedOrClosedAndTheServerGoesOn) {
    const QByteArray session = test::pair("424242", port);
    auto p = phone(session);
    const auto stillServes = [&] { return exchange(port, get("/", port)).status == 200; };

    const auto garbage = exchange(port, "\x16\x03\x01\x02\x00 GARBAGE\r\n\r\n");
    EXPECT_TRUE(garbage.status == 400 || garbage.status == 0) << garbage.status;
    EXPECT_TRUE(stillServes());
    const auto noHost = exchange(port, "GET / HTTP/1.1\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(noHost.status, 400);
    EXPECT_EQ(exchange(port, "DELETE / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n").status, 405);

    // Headers of 200 KB, and a body announced at 10 MB: the connection is closed.
    QByteArray huge =
        "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Long: " + QByteArray(200 * 1024, 'a') + "\r\n\r\n";
    EXPECT_EQ(exchange(port, huge).status, 0);
    QByteArray body =
        "POST /entrer HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 10000000\r\n\r\n" +
        QByteArray(512 * 1024, 'a');
    EXPECT_EQ(exchange(port, body).status, 0);
    EXPECT_TRUE(stillServes());

    // A client that sends half a request and waits holds nothing for long.
    QTcpSocket lingering;
    lingering.connectToHost(QStringLiteral("127.0.0.1"), static_cast<quint16>(port));
    ASSERT_TRUE(waitUntil([&] { return lingering.state() == QAbstractSocket::ConnectedState; }));
    lingering.write("GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n");
    EXPECT_TRUE(
        waitUntil([&] { return lingering.state() == QAbstractSocket::UnconnectedState; }, 15s));

    // Through all this, the phone followed the desk and changed() stayed cheap.
    desk.state.master = 3;
    remote.changed();
    EXPECT_TRUE(waitUntil([&] { return p->lastState()["general"].toInt() == 3; }));
    EXPECT_TRUE(p->open());
}

// The WebSocket handshake of a phone written by hand, so that it can stop reading.
std::unique_ptr<QTcpSocket> rawPhone(int port, const QByteArray& session) {
    auto socket = std::make_unique<QTcpSocket>();
    socket->setReadBufferSize(1024);
    socket->connectToHost(QStringLiteral("127.0.0.1"), static_cast<quint16>(port));
    EXPECT_TRUE(waitUntil([&] { return socket->state() == QAbstractSocket::ConnectedState; }));
    socket->write("GET /ws HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) +
                  "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                  "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n"
                  "Origin: http://127.0.0.1:" +
                  QByteArray::number(port) + "\r\nCookie: " + session + "\r\n\r\n");
    return socket;
}

TEST_F(WebServerTest, APhoneThatNeverReadsGetsOnlyTheLatestStateAndHoldsNothing) {
    const QByteArray session = test::pair("424242", port);
    auto slow = rawPhone(port, session);
    auto p = phone(session);
    ASSERT_TRUE(waitUntil([&] { return remote.phones() == 2; }));
    for (int i = 0; i < 100; ++i) desk.state.sequences.push_back(std::string(200, 'a' + i % 26));

    constexpr int kStates = 1500;  // about 30 MB, far more than the sockets' buffers
    std::int64_t longest = 0;
    for (int i = 0; i < kStates; ++i) {
        desk.state.master = i % 21;
        desk.state.beats = i;
        const auto start = std::chrono::steady_clock::now();
        remote.changed();
        longest =
            std::max<std::int64_t>(longest, std::chrono::duration_cast<std::chrono::microseconds>(
                                                std::chrono::steady_clock::now() - start)
                                                .count());
        if (i % 50 == 0) QCoreApplication::processEvents();
    }
    EXPECT_TRUE(
        waitUntil([&] { return p->lastState()["battements"].toInt() == kStates - 1; }, 10s));
    // A changed() that waited on the phone would wait for good; the benchmark measures its cost.
    EXPECT_LT(longest, test::kBlockedMs * 1000) << "changed() held for " << longest << " us";

    // It reads at last: it gets the latest state, after far fewer than were made.
    slow->setReadBufferSize(0);
    QByteArray received;
    const QByteArray latest = "\"battements\":" + QByteArray::number(kStates - 1) + ",";
    EXPECT_TRUE(waitUntil(
        [&] {
            received += slow->readAll();
            return received.contains(latest);
        },
        10s));
    EXPECT_LT(received.count("\"t\":\"etat\""), kStates / 3);
}

TEST_F(WebServerTest, ANewCodeDisconnectsEveryPhone) {
    const QByteArray session = test::pair("424242", port);
    auto p = phone(session);
    const std::string code = remote.newCode();
    EXPECT_NE(code, "424242");
    EXPECT_EQ(remote.code(), code);
    ASSERT_TRUE(waitUntil([&] { return p->closed; }));
    EXPECT_EQ(p->closeCode, 1008);
    EXPECT_FALSE(p->of("fin").empty());
    EXPECT_EQ(exchange(port, get("/api/etat", port, session)).status, 403);
    EXPECT_TRUE(test::pair("424242", port).isEmpty());
    EXPECT_FALSE(test::pair(code, port).isEmpty());
}

TEST(WebRemoteTest, OffNothingListensAndABusyPortIsSaid) {
    test::FakeDesk desk;
    WebRemote off(desk, {false, 0, false, ""});
    EXPECT_FALSE(off.listening());
    EXPECT_TRUE(isValidCode(off.code()));
    off.changed();

    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::LocalHost));
    WebRemote busy(desk, {true, taken.serverPort(), false, "123456"});
    EXPECT_FALSE(busy.listening());
    EXPECT_NE(busy.error().find("déjà utilisé"), std::string::npos) << busy.error();
    EXPECT_EQ(busy.code(), "123456");

    busy.apply({true, 0, false, "123456"});
    EXPECT_TRUE(busy.listening());
    EXPECT_TRUE(busy.error().empty());
    ASSERT_EQ(busy.addresses().size(), 1u);
    EXPECT_EQ(busy.addresses()[0], "http://127.0.0.1:" + std::to_string(busy.port()) + "/");
    busy.apply({false, 0, false, "123456"});
    EXPECT_FALSE(busy.listening());
}

}  // namespace
}  // namespace lumiere

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
