// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pairing a phone: the six-digit code shown in the dialog, typed once on the phone, gives it a
// session (a random token kept in a cookie). Time is passed in.
//
// - Five wrong codes in a row from one address pause that address for kPause: every code it
//   sends meanwhile, even the right one, is refused without being looked at. A right code, or
//   the end of the pause, starts its count again.
// - Sessions last until a new code is made (renew()) or the server stops; at most kMaxSessions
//   are kept, the oldest forgotten first.
// - The code and the tokens come from the kernel's random source (getrandom).

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace lumiere {

class Pairing {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr int kAttempts = 5;
    static constexpr Clock::duration kPause = std::chrono::seconds(30);
    static constexpr std::size_t kMaxSessions = 32;
    static constexpr std::size_t kMaxAddresses = 1024;

    // A valid code (six digits) is kept; anything else (empty, hand-edited) is replaced by a new
    // random one.
    explicit Pairing(std::string_view code = {});

    const std::string& code() const { return code_; }
    // A new code (`code` when valid, else a random one); every session is forgotten.
    void renew(std::string_view code = {});

    struct Answer {
        enum class Result { Accepted, Wrong, Paused };
        Result result = Result::Wrong;
        std::string token;       // Accepted: the new session
        Clock::duration wait{};  // Paused, or Wrong that started a pause: how long
    };
    Answer tryCode(std::string_view address, std::string_view code, Clock::time_point now);

    bool hasSession(std::string_view token) const;
    std::size_t sessions() const { return sessions_.size(); }

private:
    struct Failures {
        int count = 0;
        Clock::time_point pausedUntil{};
    };

    std::string code_;
    std::deque<std::string> sessions_;  // oldest first
    std::map<std::string, Failures, std::less<>> failures_;
};

bool isValidCode(std::string_view code);
std::string randomCode();
std::string randomToken();  // 32 random bytes, as 64 hexadecimal digits

inline constexpr std::string_view kSessionCookieName = "lumiere_session";

// The Set-Cookie value that gives a phone its session: a browser session cookie, out of the
// page's scripts' reach, sent only on requests from the page itself.
std::string sessionCookie(std::string_view token);

// The session token in a Cookie header ("a=b; lumiere_session=...; c=d"), if any.
std::optional<std::string> sessionFromCookies(std::string_view header);

}  // namespace lumiere
