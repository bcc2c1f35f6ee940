// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/pairing.h"

#include <sys/random.h>

#include <array>
#include <cerrno>
#include <stdexcept>

namespace lumiere {
namespace {

void fillRandom(void* buffer, std::size_t size) {
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = getrandom(bytes + done, size - done, 0);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw std::runtime_error("getrandom failed");
        }
        done += static_cast<std::size_t>(got);
    }
}

// Compares without stopping at the first difference, so the time taken tells nothing.
bool sameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    unsigned char difference = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

bool isValidCode(std::string_view code) {
    if (code.size() != 6) return false;
    for (const char c : code) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

std::string randomCode() {
    // Uniform over 000000..999999: values of the top partial range are drawn again.
    constexpr std::uint32_t kRange = 1000000;
    constexpr std::uint32_t kLimit = (0xFFFFFFFFu / kRange) * kRange;
    std::uint32_t value = 0;
    do {
        fillRandom(&value, sizeof value);
    } while (value >= kLimit);
    std::string code = std::to_string(value % kRange);
    return std::string(6 - code.size(), '0') + code;
}

std::string randomToken() {
    static constexpr char kHex[] = "0123456789abcdef";
    std::array<unsigned char, 32> bytes{};
    fillRandom(bytes.data(), bytes.size());
    std::string token;
    token.reserve(bytes.size() * 2);
    for (const unsigned char b : bytes) {
        token += kHex[b >> 4];
        token += kHex[b & 0xF];
    }
    return token;
}

Pairing::Pairing(std::string_view code) : code_(isValidCode(code) ? code : randomCode()) {}

void Pairing::renew(std::string_view code) {
    code_ = isValidCode(code) ? std::string(code) : randomCode();
    sessions_.clear();
}

Pairing::Answer Pairing::tryCode(std::string_view address, std::string_view code,
                                 Clock::time_point now) {
    Answer answer;
    auto it = failures_.find(address);
    if (it != failures_.end() && it->second.count >= kAttempts) {
        if (now < it->second.pausedUntil) {
            answer.result = Answer::Result::Paused;
            answer.wait = it->second.pausedUntil - now;
            return answer;
        }
        failures_.erase(it);  // the pause is over: a fresh count
        it = failures_.end();
    }
    if (sameText(trimBlanks(code), code_)) {
        if (it != failures_.end()) failures_.erase(it);
        answer.result = Answer::Result::Accepted;
        answer.token = randomToken();
        sessions_.push_back(answer.token);
        if (sessions_.size() > kMaxSessions) sessions_.pop_front();
        return answer;
    }
    if (it == failures_.end()) {
        if (failures_.size() >= kMaxAddresses) {
            // Many addresses each with a few wrong codes: forget those that are not paused.
            std::erase_if(failures_, [&](const auto& entry) {
                return entry.second.count < kAttempts || entry.second.pausedUntil <= now;
            });
        }
        it = failures_.emplace(std::string(address), Failures{}).first;
    }
    answer.result = Answer::Result::Wrong;
    if (++it->second.count >= kAttempts) {
        it->second.pausedUntil = now + kPause;
        answer.wait = kPause;
    }
    return answer;
}

bool Pairing::hasSession(std::string_view token) const {
    if (token.empty()) return false;
    bool found = false;
    for (const std::string& session : sessions_) found |= sameText(session, token);
    return found;
}

std::string sessionCookie(std::string_view token) {
    std::string cookie(kSessionCookieName);
    cookie += '=';
    cookie += token;
    cookie += "; HttpOnly; SameSite=Strict; Path=/";
    return cookie;
}

std::optional<std::string> sessionFromCookies(std::string_view header) {
    while (!header.empty()) {
        const std::size_t end = header.find(';');
        const std::string_view pair = trimBlanks(header.substr(0, end));
        header = end == std::string_view::npos ? std::string_view{} : header.substr(end + 1);
        const std::size_t equals = pair.find('=');
        if (equals == std::string_view::npos) continue;
        if (trimBlanks(pair.substr(0, equals)) != kSessionCookieName) continue;
        return std::string(trimBlanks(pair.substr(equals + 1)));
    }
    return std::nullopt;
}

}  // namespace lumiere
