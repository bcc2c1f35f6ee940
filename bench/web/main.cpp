// SPDX-License-Identifier: GPL-3.0-or-later
// lumiere-web-bench: the web remote with 8 paired phones while the desk changes its lamps at 100
// frames/s (the fake desk of the tests, its blinker stand-in: a new pattern every frame).
//   1. 8 WebSocket phones (Qt clients on a thread of their own): lamp change -> message at the
//      phone, median / p95 / max, and how many states each phone got;
//   2. 8 pages in a real headless Chromium (bench/web/pages.py, when chromium is installed):
//      lamp change -> the page has put it in its DOM and said so ({"vu":N}, so the figure also
//      holds the way back over the loopback);
//   and in both, the window thread's cost per frame of changed() (median, p99, max), beside a bare
//   reference measured in the same frames: building the state and comparing it, which is what
//   the application would pay to know that something changed at all.
// Prints figures; not a test.

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QWebSocket>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <vector>

#include "support/fake_desk.h"
#include "support/web_client.h"
#include "web/web_remote.h"

namespace {

using Clock = std::chrono::steady_clock;
using lumiere::test::waitUntil;

constexpr int kPhones = 8;
constexpr auto kRun = std::chrono::seconds(10);

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

struct Spread {
    double median = 0, p95 = 0, p99 = 0, max = 0;
    std::size_t count = 0;
};

Spread spread(std::vector<double> values) {
    Spread s;
    s.count = values.size();
    if (values.empty()) return s;
    std::sort(values.begin(), values.end());
    const auto at = [&](double q) {
        return values[std::min(values.size() - 1, static_cast<std::size_t>(q * values.size()))];
    };
    s.median = at(0.5);
    s.p95 = at(0.95);
    s.p99 = at(0.99);
    s.max = values.back();
    return s;
}

// The state number in a state message, without a JSON reader (the phones read as fast as they can).
std::uint64_t stateNumber(const QString& text) {
    const int at = text.indexOf(QLatin1String("\"n\":"));
    if (at < 0) return 0;
    std::uint64_t n = 0;
    for (int i = at + 4; i < text.size() && text[i].isDigit(); ++i)
        n = n * 10 + text[i].digitValue();
    return n;
}

// Phones on a thread of their own, each keeping (state number, arrival time).
class Phones : public QObject {
public:
    struct Arrival {
        std::uint64_t n;
        std::int64_t at;
    };

    void open(int port, QByteArray cookie) {
        for (int i = 0; i < kPhones; ++i) {
            auto* socket = new QWebSocket(QStringLiteral("http://127.0.0.1:%1").arg(port),
                                          QWebSocketProtocol::VersionLatest, this);
            arrivals_.emplace_back();
            arrivals_.back().reserve(4000);
            connect(socket, &QWebSocket::textMessageReceived, this, [this, i](const QString& text) {
                const std::int64_t at = nowNs();
                if (recording_) arrivals_[i].push_back({stateNumber(text), at});
            });
            QNetworkRequest request(QUrl(QStringLiteral("ws://127.0.0.1:%1/ws").arg(port)));
            request.setRawHeader("Cookie", cookie);
            socket->open(request);
        }
    }
    void record(bool on) { recording_ = on; }
    const std::vector<std::vector<Arrival>>& arrivals() const { return arrivals_; }

private:
    std::vector<std::vector<Arrival>> arrivals_;
    bool recording_ = false;
};

struct Frames {
    std::vector<double> costUs, referenceUs;
    std::vector<std::int64_t> produced;  // by state number: when its lamps changed
};

// 100 frames/s for kRun: each frame the desk ticks (its lamps change) and changed() runs.
Frames runFrames(lumiere::test::FakeDesk& desk, lumiere::WebRemote& remote) {
    Frames f;
    f.produced.assign(remote.stateNumber() + 100000, 0);
    lumiere::RemoteState reference = desk.remoteState();
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        // The bare reference: build the state and compare it with the last.
        auto t0 = Clock::now();
        lumiere::RemoteState state = desk.remoteState();
        const bool same = state == reference;
        reference = std::move(state);
        auto t1 = Clock::now();
        if (same) reference.beats = -1;  // keeps the comparison from being optimised away
        f.referenceUs.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());

        desk.tick();
        const std::int64_t changedAt = nowNs();
        t0 = Clock::now();
        remote.changed();
        t1 = Clock::now();
        f.costUs.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
        const std::uint64_t n = remote.stateNumber();
        if (n < f.produced.size()) f.produced[n] = changedAt;
    });
    timer.start(10);
    waitUntil([] { return false; }, std::chrono::duration_cast<std::chrono::milliseconds>(kRun));
    timer.stop();
    return f;
}

void printCost(const char* what, const Frames& f) {
    const Spread cost = spread(f.costUs), bare = spread(f.referenceUs);
    std::printf("%-58s median %6.2f us, p99 %6.2f us, max %7.2f us (%zu frames)\n", what,
                cost.median, cost.p99, cost.max, cost.count);
    std::printf("%-58s median %6.2f us, p99 %6.2f us, max %7.2f us\n",
                "  bare reference (build the state and compare)", bare.median, bare.p99, bare.max);
}

void printDelay(const char* what, const std::vector<double>& ms) {
    const Spread s = spread(ms);
    std::printf("%-58s median %6.2f ms, p95 %6.2f ms, max %7.2f ms (%zu states)\n", what, s.median,
                s.p95, s.max, s.count);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    lumiere::test::FakeDesk desk;
    desk.state.on = true;  // the blinker: new lamps every frame

    std::mutex seenMutex;
    std::vector<std::pair<std::uint64_t, std::int64_t>> seen;
    bool recordSeen = false;
    lumiere::WebRemote::Options options;
    options.seen = [&](std::uint64_t n) {
        const std::int64_t at = nowNs();
        std::lock_guard lock(seenMutex);
        if (recordSeen) seen.emplace_back(n, at);
    };
    lumiere::WebRemote remote(desk, {true, 0, false, ""}, options);
    if (!remote.listening()) {
        std::fprintf(stderr, "%s\n", remote.error().c_str());
        return 1;
    }
    const int port = remote.port();
    const QByteArray cookie = lumiere::test::pair(remote.code(), port);
    std::printf("lumiere-web-bench: 8 phones, desk at 100 frames/s for %lld s per part, %d cores\n",
                static_cast<long long>(kRun.count()), QThread::idealThreadCount());

    // 1. Qt WebSocket phones on a thread of their own.
    {
        QThread thread;
        thread.start();
        auto* phones = new Phones;
        phones->moveToThread(&thread);
        QMetaObject::invokeMethod(phones, [&] { phones->open(port, cookie); });
        if (!waitUntil([&] { return remote.phones() == kPhones; }, std::chrono::seconds(10))) {
            std::fprintf(stderr, "the phones did not connect\n");
            return 1;
        }
        const auto record = [&](bool on) {
            QMetaObject::invokeMethod(
                phones, [&] { phones->record(on); }, Qt::BlockingQueuedConnection);
        };
        record(true);
        const Frames f = runFrames(desk, remote);
        waitUntil([] { return false; }, std::chrono::milliseconds(200));  // the last ones arrive
        record(false);
        std::vector<std::vector<Phones::Arrival>> arrivals;
        QMetaObject::invokeMethod(
            phones,
            [&] {
                arrivals = phones->arrivals();
                delete phones;
            },
            Qt::BlockingQueuedConnection);
        thread.quit();
        thread.wait();

        std::vector<double> ms;
        std::size_t fewest = SIZE_MAX;
        for (const auto& phone : arrivals) {
            std::size_t counted = 0;
            for (const Phones::Arrival& a : phone) {
                if (a.n >= f.produced.size() || f.produced[a.n] == 0) continue;
                ms.push_back((a.at - f.produced[a.n]) / 1e6);
                ++counted;
            }
            fewest = std::min(fewest, counted);
        }
        std::printf("\n1. %d Qt WebSocket phones on their own thread\n", kPhones);
        printDelay("lamp change -> message at the phone", ms);
        std::printf("%-58s %zu of %zu at the phone that got the fewest\n", "states received",
                    fewest, f.costUs.size());
        printCost("window thread, changed() per frame", f);
    }
    waitUntil([&] { return remote.phones() == 0; }, std::chrono::seconds(5));

    // 2. Real Chromium pages.
    const QString script = QStringLiteral(LUMIERE_WEB_PAGES);
    if (!QFile::exists(QStringLiteral("/usr/bin/chromium")) ||
        !QFile::exists(QStringLiteral("/usr/bin/chromedriver"))) {
        std::printf("\n2. skipped: no /usr/bin/chromium and /usr/bin/chromedriver\n");
        return 0;
    }
    QProcess pages;
    pages.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    pages.start(QStringLiteral("/usr/bin/python3"),
                {script, QString::fromStdString(remote.addresses().front()),
                 QString::fromStdString(remote.code()), QString::number(kPhones)});
    QByteArray said;
    const bool ready = waitUntil(
        [&] {
            said += pages.readAllStandardOutput();
            return said.contains("pret") || said.contains("echec") ||
                   pages.state() == QProcess::NotRunning;
        },
        std::chrono::seconds(90));
    if (!ready || !said.contains("pret") || remote.phones() != kPhones) {
        std::printf("\n2. skipped: the Chromium pages did not connect (%d phones)\n",
                    remote.phones());
        pages.kill();
        pages.waitForFinished(5000);
        return 1;
    }
    {
        std::lock_guard lock(seenMutex);
        recordSeen = true;
    }
    const Frames f = runFrames(desk, remote);
    waitUntil([] { return false; }, std::chrono::milliseconds(300));
    {
        std::lock_guard lock(seenMutex);
        recordSeen = false;
    }
    pages.closeWriteChannel();
    if (!pages.waitForFinished(20000)) {
        pages.kill();
        pages.waitForFinished(5000);
    }
    std::vector<double> ms;
    for (const auto& [n, at] : seen) {
        if (n < f.produced.size() && f.produced[n] != 0) ms.push_back((at - f.produced[n]) / 1e6);
    }
    std::printf("\n2. %d pages in one headless Chromium (the page reports each state it shows)\n",
                kPhones);
    printDelay("lamp change -> in the page's DOM and reported back", ms);
    std::printf("%-58s %.1f of %zu per page on average\n", "states shown",
                static_cast<double>(ms.size()) / kPhones, f.costUs.size());
    printCost("window thread, changed() per frame", f);
    return 0;
}
