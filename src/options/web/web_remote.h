// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The web remote as the application sees it: made, used and destroyed on the window's thread
// (a QCoreApplication must exist). The HTTP and WebSocket server runs on a thread of its own
// with its own event loop, so a slow or hostile phone never holds the window, and the window
// thread's cost per change does not grow with the number of phones:
//
// - changed(), after every change of the desk: builds the state once, compares it with the last
//   one and, when it differs, leaves it for the server thread (a newer state replaces one not yet
//   taken). No lock, no system call, no wake-up: the server's thread takes it within a couple of
//   milliseconds while phones are connected, then serialises it once and sends it to each.
// - A phone's command is posted back to the window's thread, checked against the desk's current
//   state (a modal dialog open, a sequence file gone) and run by RemoteDesk::runRemote; a refusal
//   goes back to that phone only.
//
// Nothing listens while the settings say off. Text is UTF-8.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "web/remote_desk.h"
#include "web/web_settings.h"

namespace lumiere {

class WebRemote {
public:
    struct Options {
        // Measurement pages report the state they applied ({"vu":N}); called on the server's
        // thread. Unset, such reports are refused like any unknown message.
        std::function<void(std::uint64_t number)> seen;
    };

    WebRemote(RemoteDesk& desk, const WebSettings& settings, Options options = {});
    ~WebRemote();
    WebRemote(const WebRemote&) = delete;
    WebRemote& operator=(const WebRemote&) = delete;

    // New settings: the server starts, stops or moves to the new port or interfaces; a new valid
    // code alone replaces the code (every phone pairs again).
    void apply(const WebSettings& settings);
    const WebSettings& settings() const;

    void changed();

    // "Nouveau code": another code, every phone disconnected. Returns it (for param.ini).
    std::string newCode();
    const std::string& code() const;

    bool listening() const;
    // The port it listens on (the one asked for; settings.port 0 takes any free one, for tests).
    int port() const;
    // Why it does not listen (French), empty while it listens or is off.
    const std::string& error() const;
    // What to type on the phone: "http://127.0.0.1:8080/", or with `network` one address per
    // IPv4 address of the interfaces that are up, the loopback last.
    std::vector<std::string> addresses() const;
    // Phones connected now (from any thread).
    int phones() const;
    // The number of the last state changed() built (the "n" of the state message).
    std::uint64_t stateNumber() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace lumiere
