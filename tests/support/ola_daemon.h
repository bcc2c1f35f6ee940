// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A private olad for tests and benchmarks: its own configuration folder, its own RPC port on
// 127.0.0.1, no web server, no DNS-SD, every plugin off except the Dummy plugin (one device,
// whose output port is patched to the chosen universe). So it opens no UDP socket and probes no
// serial or USB device. olad refuses to run as root: as root it runs as the "olad" user the
// package creates; as any other user it runs as that user. It is stopped by its process id.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"

extern char** environ;

namespace lumiere::test {

class OlaDaemon {
public:
    explicit OlaDaemon(unsigned universe = 1) : port_(freePort()) { configure(universe); }
    ~OlaDaemon() { stop(); }
    OlaDaemon(const OlaDaemon&) = delete;
    OlaDaemon& operator=(const OlaDaemon&) = delete;

    std::uint16_t port() const { return port_; }
    pid_t pid() const { return pid_; }
    const std::string& folder() const { return folder_.path(); }

    // Starts olad and waits until its RPC port accepts connections (5 s at most).
    bool start() {
        if (pid_ > 0 || port_ == 0) return false;
        const std::string log = folder_.file("olad.log");
        std::vector<std::string> args;
        if (::geteuid() == 0) {
            args = {"/usr/bin/setpriv", "--reuid=olad", "--regid=nogroup", "--init-groups"};
        }
        for (const char* a : {"/usr/bin/olad", "-c"}) args.push_back(a);
        args.push_back(folder_.path());
        for (const char* a : {"--no-http", "--no-register-with-dns-sd", "-l", "2", "-r"}) {
            args.push_back(a);
        }
        args.push_back(std::to_string(port_));
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        ::posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                           0644);
        ::posix_spawn_file_actions_adddup2(&actions, 1, 2);
        pid_t pid = -1;
        const int err = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        ::posix_spawn_file_actions_destroy(&actions);
        if (err != 0) return false;
        pid_ = pid;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            if (accepts()) return true;
            if (exited()) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    // SIGTERM, then SIGKILL if it has not gone within 5 s; waits for it either way.
    void stop() {
        if (pid_ <= 0) return;
        if (frozen_) thaw();
        ::kill(pid_, SIGTERM);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!exited()) {
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, nullptr, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        pid_ = -1;
    }

    // Kills it at once, as a crash would.
    void kill() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
        frozen_ = false;
    }

    void freeze() {
        if (pid_ > 0 && ::kill(pid_, SIGSTOP) == 0) frozen_ = true;
    }
    void thaw() {
        if (pid_ > 0 && ::kill(pid_, SIGCONT) == 0) frozen_ = false;
    }

    std::string log() const { return folder_.read("olad.log"); }

private:
    void configure(unsigned universe) {
        // The plugins of Debian 12's ola 0.10.9, as olad names their files in its folder.
        for (const char* plugin : {"artnet", "e131",       "espnet",  "ftdidmx", "gpio",
                                   "karate", "kinet",      "milinst", "opendmx", "openpixelcontrol",
                                   "osc",    "pathport",   "renard",  "sandnet", "shownet",
                                   "spi",    "stageprofi", "uartdmx", "usbdmx",  "usbserial"}) {
            folder_.write(std::string("ola-") + plugin + ".conf", "enabled = false\n");
        }
        folder_.write("ola-dummy.conf",
                      "enabled = true\ndummy_device_count = 1\nack_timer_count = 0\n"
                      "advanced_dimmer_count = 0\ndimmer_count = 0\ndimmer_subdevice_count = 0\n"
                      "moving_light_count = 0\nnetwork_device_count = 0\n"
                      "sensor_device_count = 0\n");
        folder_.write("ola-port.conf", "1-1-O-0 = " + std::to_string(universe) + "\n");
        if (::geteuid() == 0) {
            if (const passwd* user = ::getpwnam("olad")) {
                if (::chown(folder_.path().c_str(), user->pw_uid, user->pw_gid) != 0) port_ = 0;
            }
        }
    }

    bool exited() {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) != pid_) return false;
        pid_ = -1;
        return true;
    }

    bool accepts() const {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port_);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const bool ok =
            ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        return ok;
    }

    // A port nobody listens on now: the kernel's pick for an ephemeral bind on 127.0.0.1.
    static std::uint16_t freePort() {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        std::uint16_t port = 0;
        if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            port = ntohs(address.sin_port);
        }
        ::close(fd);
        return port;
    }

    TempFolder folder_;
    std::uint16_t port_ = 0;
    pid_t pid_ = -1;
    bool frozen_ = false;
};

}  // namespace lumiere::test
