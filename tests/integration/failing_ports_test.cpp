// SPDX-License-Identifier: GPL-3.0-or-later
// The real window playing on a real line that fails: the device vanishes and comes back, the port
// names a file, a folder or a pipe nobody reads, the user may not open it, another program holds
// it. Nothing freezes (no frame blocks the window thread), the status bar says it once per failure
// episode, frames resume by themselves, and the frames that get through are exactly the player's.

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <QLabel>
#include <QStatusBar>
#include <chrono>
#include <fstream>
#include <sstream>

#include "app/application.h"
#include "link/posix_serial_port.h"
#include "support/blocking.h"
#include "support/fake_platform.h"
#include "support/ordinary_user.h"
#include "support/pty_peer.h"
#include "support/real_window.h"
#include "support/temp_folder.h"
#include "text/cp1252.h"
#include "ui/main_window.h"

namespace lumiere {
namespace {

using Clock = std::chrono::steady_clock;
using test::kBlockedMs;

struct PlayingWindow : test::RealWindow {
    PlayingWindow() {
        app->inter_Click();
        app->Command11_Click(8);  // "Aller simple": 2, 4, 8 … 128, 1, 2 …
    }

    // One tick of the player; returns how long the window thread was held.
    double tick() {
        const auto start = Clock::now();
        app->Timer1_Timer();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        worstMs = std::max(worstMs, ms);
        const std::string& fault = app->form().status.linkFault;
        if (!fault.empty() && fault != lastFault) ++episodes;
        lastFault = fault;
        return ms;
    }
    void ticks(int n) {
        for (int i = 0; i < n; ++i) tick();
    }
    QString statusText() const {
        return window->statusBar()->findChildren<QLabel*>().last()->text();
    }
    double worstMs = 0;
    int episodes = 0;
    std::string lastFault;
};

// The one-way chaser from a fresh start: the n-th frame (from 0).
int oneWay(int n) {
    return 1 << ((n + 1) % 8);
}

TEST(FailingPorts, TheDeviceVanishesMidEffectAndComesBack) {
    PlayingWindow w;
    auto peer = std::make_unique<test::PtyPeer>(w.line());
    ASSERT_TRUE(peer->ready());
    w.ticks(5);
    ::unlink(w.line().c_str());  // the link is removed
    w.ticks(5);
    EXPECT_TRUE(w.statusText().contains(QStringLiteral("introuvable")))
        << w.statusText().toStdString();
    peer.reset();
    peer = std::make_unique<test::PtyPeer>(w.line());  // a new line where the old one was
    w.ticks(5);
    EXPECT_TRUE(w.app->form().status.linkFault.empty());
    EXPECT_EQ(w.episodes, 1);
    std::vector<int> expected;
    for (int n = 10; n < 15; ++n) expected.push_back(oneWay(n));
    EXPECT_EQ(peer->frames(), expected);
    EXPECT_LT(w.worstMs, kBlockedMs);
}

TEST(FailingPorts, TheFarSideClosesAndALaterLineTakesOver) {
    PlayingWindow w;
    {
        test::PtyPeer peer(w.line());
        w.ticks(3);
        std::vector<int> expected = {oneWay(0), oneWay(1), oneWay(2)};
        EXPECT_EQ(peer.frames(), expected);
    }  // the far side is gone, and its link with it
    w.ticks(4);
    EXPECT_FALSE(w.app->form().status.linkFault.empty());
    test::PtyPeer again(w.line());
    w.ticks(2);
    EXPECT_EQ(again.frames(), (std::vector<int>{oneWay(7), oneWay(8)}));
    EXPECT_EQ(w.episodes, 1);
    EXPECT_LT(w.worstMs, kBlockedMs);
}

TEST(FailingPorts, PathsThatAreNoSerialPortAreExplainedAndNeverBlock) {
    const struct {
        const char* kind;
        const char* says;  // UTF-8
    } cases[] = {
        {"file", "pas un port série"}, {"folder", "dossier"}, {"fifo", "pas un port série"}};
    for (const auto& c : cases) {
        PlayingWindow w;
        const std::string kind = c.kind;
        if (kind == "file") w.folder.write("COM9", "not a port");
        if (kind == "folder") ::mkdir(w.line().c_str(), 0755);
        if (kind == "fifo") ::mkfifo(w.line().c_str(), 0644);
        w.ticks(50);
        EXPECT_NE(w.app->form().status.linkFault.find(fromUtf8(c.says)), std::string::npos)
            << kind << ": " << w.app->form().status.linkFault;
        EXPECT_EQ(w.episodes, 1) << kind;
        EXPECT_LT(w.worstMs, kBlockedMs) << kind;
        if (kind == "file") {
            EXPECT_EQ(w.folder.read("COM9"), "not a port");  // left as it was
        }
    }
}

// 0 when a frame to COM9 in `folder` fails saying `says`, 1 when it does not, 2 when it blocked.
int frameFailsSaying(const std::string& folder, const std::string& says) {
    PosixSerialPort port;
    LampLink link(port, PortDevices(folder, folder + "/ttyS"));
    link.setPortNumber(9);
    const auto start = Clock::now();
    link.envoi(1);
    if (Clock::now() - start > std::chrono::milliseconds(static_cast<int>(kBlockedMs))) return 2;
    return link.fault().find(fromUtf8(says)) != std::string::npos ? 0 : 1;
}

TEST(FailingPorts, APortTheUserMayNotOpenPointsAtTheDialoutGroup) {
    TempFolder folder;
    ::chmod(folder.path().c_str(), 0755);
    test::PtyPeer peer(folder.file("COM9"));
    ASSERT_TRUE(peer.ready());
    char slave[256] = {};
    ASSERT_GT(::readlink(folder.file("COM9").c_str(), slave, sizeof slave - 1), 0);
    ::chmod(slave, 0000);  // refused to its owner too, when the tests do not run as root
    EXPECT_EQ(test::asOrdinaryUser([&] { return frameFailsSaying(folder.path(), "dialout"); }), 0);
}

TEST(FailingPorts, APortHeldByAnotherProgramIsBusy) {
    TempFolder folder;
    ::chmod(folder.path().c_str(), 0755);
    test::PtyPeer peer(folder.file("COM9"));
    char slave[256] = {};
    ASSERT_GT(::readlink(folder.file("COM9").c_str(), slave, sizeof slave - 1), 0);
    ::chmod(slave, 0666);
    const int holder = ::open(slave, O_WRONLY | O_NOCTTY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::ioctl(holder, TIOCEXCL), 0);
    EXPECT_EQ(test::asOrdinaryUser([&] { return frameFailsSaying(folder.path(), "occupé"); }), 0);
    ::ioctl(holder, TIOCNXCL);
    ::close(holder);
}

}  // namespace
}  // namespace lumiere

namespace lumiere {
namespace {

// A pseudo-terminal that a session uses, as a shell's /dev/pts/N is: a child becomes a session
// leader and takes it as its controlling terminal, then waits.
struct TerminalInUse {
    TerminalInUse() {
        pid = ::fork();
        if (pid == 0) {
            ::setsid();
            const int fd = ::open(peer.path().c_str(), O_RDWR);  // the session's terminal now
            ::ioctl(fd, TIOCSCTTY, 0);
            ::pause();
            ::_exit(0);
        }
        // Until the child holds it, the terminal is nobody's.
        for (int i = 0; i < 200 && !held(); ++i) ::usleep(5000);
    }
    ~TerminalInUse() {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    // The child's /proc/<pid>/stat names a controlling terminal (its seventh field).
    bool held() const {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string line;
        std::getline(stat, line);
        const auto close = line.rfind(')');
        if (close == std::string::npos) return false;
        std::istringstream fields(line.substr(close + 1));
        std::string state, ppid, pgrp, session;
        long long tty = 0;
        fields >> state >> ppid >> pgrp >> session >> tty;
        return tty != 0;
    }

    test::PtyPeer peer;
    pid_t pid = -1;
};

TEST(FailingPorts, ATerminalThatASessionUsesIsRefusedAndAFreeOneIsLeftAsItWas) {
    TerminalInUse shell;
    ASSERT_TRUE(shell.held());
    {
        PlayingWindow w;
        ::unlink(w.line().c_str());
        ASSERT_EQ(::symlink(shell.peer.path().c_str(), w.line().c_str()), 0);
        termios before{};
        ::tcgetattr(shell.peer.nearSide(), &before);
        w.ticks(5);
        const std::string fault = toUtf8(w.app->form().status.linkFault);
        EXPECT_NE(fault.find("terminal d’une session"), std::string::npos) << fault;
        EXPECT_TRUE(shell.peer.bytes().empty());  // nothing landed in the shell's terminal
        termios after{};
        ::tcgetattr(shell.peer.nearSide(), &after);
        EXPECT_EQ(after.c_lflag, before.c_lflag);
        EXPECT_EQ(cfgetospeed(&after), cfgetospeed(&before));
        EXPECT_EQ(w.episodes, 1);
    }

    // A pseudo-terminal nobody uses as a terminal (the virtual controller's) takes the frames,
    // and gets its own settings back after each one.
    PlayingWindow w;
    test::PtyPeer free(w.line());
    termios cooked{};
    ::tcgetattr(free.nearSide(), &cooked);
    cooked.c_lflag |= ECHO | ICANON;
    ::cfsetospeed(&cooked, B38400);
    ::tcsetattr(free.nearSide(), TCSANOW, &cooked);
    w.ticks(3);
    EXPECT_EQ(free.frames().size(), 3u);
    termios after{};
    ::tcgetattr(free.nearSide(), &after);
    EXPECT_TRUE((after.c_lflag & ECHO) && (after.c_lflag & ICANON));
    EXPECT_EQ(cfgetospeed(&after), B38400);
    EXPECT_TRUE(w.app->form().status.linkFault.empty()) << w.app->form().status.linkFault;
}

}  // namespace
}  // namespace lumiere
