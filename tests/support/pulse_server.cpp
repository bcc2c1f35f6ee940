// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/pulse_server.h"

#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace lumiere::test {

namespace {

using Clock = std::chrono::steady_clock;

bool acceptsClients(const std::string& socketPath) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

std::vector<std::string> split(const std::string& words) {
    std::vector<std::string> out;
    std::istringstream in(words);
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

}  // namespace

PulseServer::PulseServer() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lumiere-pulse-XXXXXX");
    if (::mkdtemp(pattern.data()) == nullptr) {
        failure_ = "mkdtemp";
        return;
    }
    folder_ = pattern;
    socket_ = folder_ + "/native";
    std::ofstream(folder_ + "/server.pa")
        << "load-module module-native-protocol-unix auth-anonymous=1 socket=" << socket_ << "\n"
        << "load-module module-null-sink sink_name=" << kSink << " rate=44100\n";
    pid_ = spawn("pulseaudio", "-n -F " + folder_ +
                                   "/server.pa --daemonize=no "
                                   "--exit-idle-time=-1 --use-pid-file=no --log-target=stderr");
    if (pid_ < 0) {
        failure_ = "pulseaudio ne démarre pas";
        return;
    }
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        if (acceptsClients(socket_)) {
            ready_ = true;
            return;
        }
        if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            failure_ = "pulseaudio s’est arrêté, voir " + folder_ + "/log";
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    failure_ = "pulseaudio ne répond pas";
}

PulseServer::~PulseServer() {
    stop();
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

void PulseServer::stop() {
    if (pid_ > 0) stopProcess(pid_);
    pid_ = -1;
}

void PulseServer::stopProcess(pid_t pid, std::chrono::milliseconds grace) {
    if (pid <= 0) return;
    ::kill(pid, SIGTERM);
    const auto deadline = Clock::now() + grace;
    while (Clock::now() < deadline) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

pid_t PulseServer::play(const std::string& wavPath) const {
    return spawn("paplay", "--server=" + address() + " -d " + kSink + " " + wavPath);
}

bool PulseServer::pactl(const std::string& arguments) const {
    const pid_t pid = spawn("pactl", "--server=" + address() + " " + arguments);
    if (pid < 0) return false;
    int status = 0;
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    stopProcess(pid);
    return false;
}

pid_t PulseServer::spawn(const std::string& program, const std::string& arguments) const {
    std::vector<std::string> words = split(arguments);
    words.insert(words.begin(), program);
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    // Everything of the server and its clients stays in the folder.
    std::vector<std::string> variables{
        "HOME=" + folder_, "XDG_RUNTIME_DIR=" + folder_, "XDG_CONFIG_HOME=" + folder_ + "/config",
        "PULSE_SERVER=" + address(), "PATH=/usr/bin:/bin:/usr/sbin:/sbin"};
    std::vector<char*> envp;
    for (std::string& variable : variables) envp.push_back(variable.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string log = folder_ + "/log";
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = -1;
    const int error =
        ::posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

}  // namespace lumiere::test
