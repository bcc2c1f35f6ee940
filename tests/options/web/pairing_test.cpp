// SPDX-License-Identifier: GPL-3.0-or-later
// Pairing, the command rate limit, the host and origin rules and the QR code: time is passed in.

#include <gtest/gtest.h>

#include <set>

#include "web/pairing.h"
#include "web/qr_code.h"
#include "web/rate_limit.h"
#include "web/web_origin.h"

namespace lumiere {
namespace {

using namespace std::chrono_literals;
using Result = Pairing::Answer::Result;
const Pairing::Clock::time_point t0{};

TEST(PairingTest, CodesAreSixRandomDigitsAndAValidCodeIsKept) {
    std::set<std::string> codes;
    for (int i = 0; i < 200; ++i) {
        const std::string code = randomCode();
        EXPECT_TRUE(isValidCode(code)) << code;
        codes.insert(code);
    }
    EXPECT_GT(codes.size(), 190u);
    EXPECT_EQ(Pairing("012345").code(), "012345");
    for (const char* bad : {"", "12345", "1234567", "12a456", " 12345"})
        EXPECT_TRUE(isValidCode(Pairing(bad).code())) << bad;
    EXPECT_NE(randomToken(), randomToken());
    EXPECT_EQ(randomToken().size(), 64u);
}

TEST(PairingTest, TheRightCodeGivesASessionUntilANewCode) {
    Pairing pairing("424242");
    const auto answer = pairing.tryCode("192.168.1.20", " 424242 ", t0);
    ASSERT_EQ(answer.result, Result::Accepted);
    EXPECT_TRUE(pairing.hasSession(answer.token));
    EXPECT_FALSE(pairing.hasSession(""));
    EXPECT_FALSE(pairing.hasSession(randomToken()));
    pairing.renew("135790");
    EXPECT_EQ(pairing.code(), "135790");
    EXPECT_FALSE(pairing.hasSession(answer.token));
    EXPECT_EQ(pairing.tryCode("192.168.1.20", "424242", t0).result, Result::Wrong);
}

TEST(PairingTest, FiveWrongCodesPauseThatAddressForThirtySeconds) {
    Pairing pairing("424242");
    for (int i = 1; i <= 4; ++i) {
        const auto wrong = pairing.tryCode("10.0.0.7", "000000", t0 + i * 1s);
        EXPECT_EQ(wrong.result, Result::Wrong);
        EXPECT_EQ(wrong.wait, 0s);
    }
    const auto fifth = pairing.tryCode("10.0.0.7", "000000", t0 + 5s);
    EXPECT_EQ(fifth.result, Result::Wrong);
    EXPECT_EQ(fifth.wait, 30s);
    // Paused: even the right code is refused; another address is not.
    const auto sixth = pairing.tryCode("10.0.0.7", "424242", t0 + 20s);
    EXPECT_EQ(sixth.result, Result::Paused);
    EXPECT_EQ(sixth.wait, 15s);
    EXPECT_EQ(pairing.tryCode("10.0.0.8", "424242", t0 + 20s).result, Result::Accepted);
    // After the pause, a fresh count.
    EXPECT_EQ(pairing.tryCode("10.0.0.7", "000000", t0 + 35s).result, Result::Wrong);
    EXPECT_EQ(pairing.tryCode("10.0.0.7", "424242", t0 + 36s).result, Result::Accepted);
    // A right code starts the count again.
    for (int i = 0; i < 4; ++i) pairing.tryCode("10.0.0.7", "1", t0 + 40s);
    pairing.tryCode("10.0.0.7", "424242", t0 + 40s);
    EXPECT_EQ(pairing.tryCode("10.0.0.7", "1", t0 + 41s).wait, 0s);
}

TEST(PairingTest, SessionsAreBoundedOldestFirst) {
    Pairing pairing("424242");
    const std::string first = pairing.tryCode("a", "424242", t0).token;
    for (std::size_t i = 0; i < Pairing::kMaxSessions; ++i) pairing.tryCode("a", "424242", t0);
    EXPECT_EQ(pairing.sessions(), Pairing::kMaxSessions);
    EXPECT_FALSE(pairing.hasSession(first));
}

TEST(PairingTest, TheCookieAndItsReading) {
    EXPECT_EQ(sessionCookie("abc"), "lumiere_session=abc; HttpOnly; SameSite=Strict; Path=/");
    EXPECT_EQ(sessionFromCookies("lumiere_session=abc"), "abc");
    EXPECT_EQ(sessionFromCookies("x=1; lumiere_session=abc ;y=2"), "abc");
    EXPECT_EQ(sessionFromCookies("xlumiere_session=abc; lumiere_sessions=d"), std::nullopt);
    EXPECT_EQ(sessionFromCookies(""), std::nullopt);
    EXPECT_EQ(sessionFromCookies(";;=;lumiere_session"), std::nullopt);
}

TEST(RateLimitTest, FiftyCommandsInAnySecond) {
    CommandRateLimit limit;
    const CommandRateLimit::Clock::time_point start{1s};
    for (int i = 0; i < 50; ++i) EXPECT_TRUE(limit.admit(start + i * 1ms)) << i;
    EXPECT_FALSE(limit.admit(start + 50ms));
    EXPECT_FALSE(limit.admit(start + 999ms));
    EXPECT_TRUE(limit.admit(start + 1000ms));  // the first one has left the window
    EXPECT_FALSE(limit.admit(start + 1000ms));
    EXPECT_TRUE(limit.admit(start + 1001ms));
    // A steady 40 per second is never dropped.
    CommandRateLimit steady;
    for (int i = 0; i < 400; ++i) EXPECT_TRUE(steady.admit(start + i * 25ms)) << i;
}

TEST(OriginTest, OnlyTypedAddressesAndThePageItself) {
    for (const char* host : {"127.0.0.1:8080", "192.168.1.20:8080", "192.168.1.20", "localhost:80",
                             "LOCALHOST", "[::1]:8080", "[fe80::1]", "regie:8080", "studio.local"})
        EXPECT_TRUE(hostAllowed(host, "regie")) << host;
    for (const char* host : {"", "evil.example:8080", "evil.example", "127.0.0.1.evil.example",
                             "256.1.1.1", "1.2.3", "1.2.3.4.5", "127.0.0.1:80a",
                             "127.0.0.1:", "[::1", "[::1]x", "a b", ".local", "regie.evil:8080"})
        EXPECT_FALSE(hostAllowed(host, "regie")) << host;
    EXPECT_FALSE(hostAllowed("regie", ""));

    EXPECT_TRUE(sameOrigin("http://192.168.1.20:8080", "192.168.1.20:8080"));
    EXPECT_TRUE(sameOrigin("HTTP://Regie:8080", "regie:8080"));
    EXPECT_FALSE(sameOrigin("http://evil.example", "192.168.1.20:8080"));
    EXPECT_FALSE(sameOrigin("https://192.168.1.20:8080", "192.168.1.20:8080"));
    EXPECT_FALSE(sameOrigin("http://192.168.1.20:8081", "192.168.1.20:8080"));
    EXPECT_FALSE(sameOrigin("null", "192.168.1.20:8080"));
    EXPECT_FALSE(sameOrigin("", ""));
}

TEST(QrCodeTest, AnAddressGivesASquareWithItsThreeFinderPatterns) {
    const auto qr = qrCode("http://192.168.1.20:8080/");
    ASSERT_TRUE(qr);
    EXPECT_EQ((qr->size - 21) % 4, 0);
    // Each finder pattern: a dark 7x7 ring around a light ring around a dark 3x3 square.
    for (const auto& [ox, oy] : {std::pair{0, 0}, {qr->size - 7, 0}, {0, qr->size - 7}}) {
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; x < 7; ++x) {
                const int ring = std::min(std::min(x, y), std::min(6 - x, 6 - y));
                EXPECT_EQ(qr->at(ox + x, oy + y), ring != 1) << ox << "," << oy << " " << x << y;
            }
        }
    }
    EXPECT_FALSE(qrCode(""));
    EXPECT_FALSE(qrCode(std::string(5000, 'a')));
}

}  // namespace
}  // namespace lumiere
