// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A private PulseAudio server for tests and benchmarks: its own folder (runtime, home and
// socket), only the local native protocol (anonymous, no network module) and one null sink
// whose monitor source captures what is played into it. Stopped by its process id.

#include <sys/types.h>

#include <chrono>
#include <string>

namespace lumiere::test {

class PulseServer {
public:
    static constexpr char kSink[] = "lumiere_test";

    // Starts the server and waits (polling its socket, 10 s at most) until it accepts clients.
    PulseServer();
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    bool ready() const { return ready_; }
    const std::string& failure() const { return failure_; }
    // libpulse's server string, "unix:<folder>/native".
    std::string address() const { return "unix:" + socket_; }
    std::string monitor() const { return std::string(kSink) + ".monitor"; }
    const std::string& folder() const { return folder_; }
    pid_t pid() const { return pid_; }

    // Plays a WAV file into the null sink with paplay; returns its process id (-1 on failure).
    pid_t play(const std::string& wavPath) const;
    // Runs pactl against this server and waits for it; true when it succeeded.
    bool pactl(const std::string& arguments) const;
    // Stops the server (SIGTERM, then SIGKILL after 5 s), by its process id.
    void stop();

    // Stops a process this helper started, by its id, and reaps it.
    static void stopProcess(pid_t pid, std::chrono::milliseconds grace = std::chrono::seconds(5));

private:
    pid_t spawn(const std::string& program, const std::string& arguments) const;

    std::string folder_;
    std::string socket_;
    pid_t pid_ = -1;
    bool ready_ = false;
    std::string failure_;
};

}  // namespace lumiere::test
