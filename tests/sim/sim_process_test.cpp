// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the real lumiere-sim and drives it the way Lumière does: open the COM<N> link, write one
// two-byte frame, close, for every frame.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <thread>
#include <vector>

#include "support/temp_folder.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace std::string_literals;

std::int64_t monotonicNs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// Polls `condition` every few milliseconds; false if it is still unmet after `limit`.
bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = 3000ms) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

// lumiere-sim started with its output captured in files of the test folder.
class SimProcess {
public:
    SimProcess(const TempFolder& folder, std::vector<std::string> args) {
        args.insert(args.begin(), LUMIERE_SIM_EXECUTABLE);
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, folder.file("out.txt").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, folder.file("err.txt").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~SimProcess() {
        if (pid_ > 0 && !exitStatus_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    bool started() const { return pid_ > 0; }
    void signal(int number) const { ::kill(pid_, number); }

    // The exit code, or -1 if it did not exit normally within `limit`.
    int waitExit(std::chrono::milliseconds limit = 3000ms) {
        int status = 0;
        const bool exited = waitFor(
            [&] {
                if (::waitpid(pid_, &status, WNOHANG) != pid_) return false;
                exitStatus_ = status;
                return true;
            },
            limit);
        return exited && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    std::optional<int> exitStatus_;
};

// One frame, written like Lumière's port adapter does, with its own open and close.
bool sendLikeLumiere(const std::string& port, const std::string& bytes) {
    const int fd = ::open(port.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return false;
    termios settings{};
    ::tcgetattr(fd, &settings);
    ::cfmakeraw(&settings);
    ::tcsetattr(fd, TCSANOW, &settings);
    ::ioctl(fd, TIOCEXCL);
    const bool written = ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
    ::tcdrain(fd);
    ::ioctl(fd, TIOCNXCL);
    ::close(fd);
    return written;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

TEST(SimProcess, ReceivesLumiereFramesThenCleansUp) {
    TempFolder folder;
    folder.write("param.ini", "[port]\r\ncom = 3\r\n");
    SimProcess sim(folder, {"--dossier", folder.path(), "--log", folder.file("frames.log")});
    ASSERT_TRUE(sim.started());
    const std::string port = folder.file("COM3");
    ASSERT_TRUE(waitFor([&] { return fs::is_symlink(port); })) << folder.read("err.txt");
    EXPECT_TRUE(fs::read_symlink(port).string().starts_with("/dev/pts/"));

    const std::int64_t before = monotonicNs();
    // 0x6E as a value, 0x0A (a line end a cooked tty would rewrite), and a stray byte.
    for (const std::string& frame : {"n\x05"s, "n\x6E"s, "n\x0A"s, "\x7Fn\xFF"s, "n\x00"s}) {
        ASSERT_TRUE(sendLikeLumiere(port, frame));
    }

    // The log is flushed while the simulator runs; every line was stamped before we see it.
    ASSERT_TRUE(waitFor([&] { return lines(folder.read("frames.log")).size() == 6; }))
        << folder.read("frames.log");
    const std::int64_t after = monotonicNs();

    sim.signal(SIGTERM);
    ASSERT_EQ(sim.waitExit(), 0) << folder.read("err.txt");
    EXPECT_FALSE(fs::exists(fs::symlink_status(port)));

    const std::vector<std::string> expected = {"5", "110", "10", "parasite 127", "255", "0"};
    const std::vector<std::string> logged = lines(folder.read("frames.log"));
    ASSERT_EQ(logged.size(), expected.size());
    std::int64_t previous = before;
    for (std::size_t i = 0; i < logged.size(); ++i) {
        const auto space = logged[i].find(' ');
        const std::int64_t ns = std::stoll(logged[i].substr(0, space));
        EXPECT_GE(ns, previous) << logged[i];
        EXPECT_LE(ns, after) << logged[i];
        EXPECT_EQ(logged[i].substr(space + 1), expected[i]);
        previous = ns;
    }

    const std::string out = folder.read("out.txt");
    EXPECT_NE(out.find("Contrôleur virtuel prêt : COM3 -> /dev/pts/"), std::string::npos) << out;
    EXPECT_NE(out.find("trames reçues       : 5\n"), std::string::npos) << out;
    EXPECT_NE(out.find("octets parasites    : 1\n"), std::string::npos) << out;
    EXPECT_NE(out.find("intervalle p99      : "), std::string::npos) << out;
    EXPECT_EQ(out.find("\033["), std::string::npos) << "no live line when stdout is a file";
}

TEST(SimProcess, StopsByItselfAfterTheRunTime) {
    TempFolder folder;
    SimProcess sim(folder, {"--folder", folder.path(), "--port", "2", "--duree", "0.2"});
    ASSERT_TRUE(sim.started());
    ASSERT_EQ(sim.waitExit(), 0) << folder.read("err.txt");
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder.file("COM2"))));
    const std::string out = folder.read("out.txt");
    EXPECT_NE(out.find("prêt : COM2 -> "), std::string::npos) << out;
    EXPECT_NE(out.find("trames reçues       : 0\n"), std::string::npos) << out;
}

TEST(SimProcess, RefusesARegularFileInPlaceOfTheLink) {
    TempFolder folder;
    folder.write("COM1", "vrai fichier");
    SimProcess sim(folder, {"--dossier", folder.path(), "--duree", "5"});
    ASSERT_TRUE(sim.started());
    EXPECT_EQ(sim.waitExit(), 2);
    EXPECT_EQ(folder.read("COM1"), "vrai fichier");
    EXPECT_NE(folder.read("err.txt").find("COM1"), std::string::npos);
}

}  // namespace
