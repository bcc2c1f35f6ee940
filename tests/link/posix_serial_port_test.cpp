// SPDX-License-Identifier: GPL-3.0-or-later
// The POSIX adapter against real pseudo-terminals and against paths that are no serial port:
// frames arrive intact, nothing blocks, and every failure comes back as an errno value.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <chrono>

#include "link/lamp_link.h"
#include "link/posix_serial_port.h"
#include "support/blocking.h"
#include "support/pty_peer.h"
#include "support/temp_folder.h"

namespace lumiere {
namespace {

using test::PtyPeer;

double elapsedMs(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since)
        .count();
}

TEST(PosixSerialPort, FramesReachThePseudoTerminalByteForByte) {
    PtyPeer pty;
    ASSERT_FALSE(pty.path().empty());
    TempFolder folder;
    ASSERT_EQ(::symlink(pty.path().c_str(), folder.file("COM2").c_str()), 0);
    PosixSerialPort port;
    LampLink link(port, PortDevices(folder.path()));
    link.setPortNumber(2);
    // Values the line discipline would mangle if the line were not raw: LF, CR, XON, XOFF, DEL.
    const std::vector<int> values = {0, 10, 13, 17, 19, 127, 0x6E, 255};
    for (int v : values) link.envoi(v);
    EXPECT_TRUE(link.fault().empty()) << link.fault();
    std::string expected;
    for (int v : values) expected += std::string{'n', static_cast<char>(v)};
    EXPECT_EQ(pty.bytes(), expected);
    EXPECT_FALSE(port.isOpen());
}

TEST(PosixSerialPort, TheLineIsRaw9600EightNoParityAndNotLeftExclusive) {
    PtyPeer pty;
    PosixSerialPort port;
    port.setDevice(pty.path());
    ASSERT_EQ(port.open(), 0);
    termios tio{};
    ASSERT_EQ(::tcgetattr(pty.nearSide(), &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), B9600);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS));
    EXPECT_FALSE(tio.c_iflag & (IXON | IXOFF));
    EXPECT_FALSE(tio.c_oflag & OPOST);
    EXPECT_EQ(port.setDtr(false), ENOTTY);  // a pseudo-terminal has no modem lines
    port.close();
    // Another program (the virtual controller) can open the line after the frame.
    const int other = ::open(pty.path().c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK);
    EXPECT_GE(other, 0);
    if (other >= 0) ::close(other);
}

TEST(PosixSerialPort, PathsThatAreNoSerialPortFailAtOnce) {
    TempFolder folder;
    folder.write("file", "x");
    ASSERT_EQ(::mkdir(folder.file("dir").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo(folder.file("fifo").c_str(), 0644), 0);
    const struct {
        std::string path;
        int error;
    } cases[] = {{folder.file("missing"), ENOENT},
                 {folder.file("file"), ENOTTY},
                 {folder.file("dir"), EISDIR},
                 {folder.file("fifo"), ENOTTY}};  // a pipe nobody reads: no port either
    for (const auto& c : cases) {
        PosixSerialPort port;
        port.setDevice(c.path);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(port.open(), c.error) << c.path;
        EXPECT_LT(elapsedMs(start), test::kBlockedMs) << c.path;
        EXPECT_FALSE(port.isOpen());
    }
}

TEST(PosixSerialPort, AFarEndThatStopsReadingDropsFramesInsteadOfBlocking) {
    PtyPeer pty;
    PosixSerialPort port;
    TempFolder folder;
    ASSERT_EQ(::symlink(pty.path().c_str(), folder.file("COM1").c_str()), 0);
    LampLink linked(port, PortDevices(folder.path()));
    linked.setPortNumber(1);
    const auto start = std::chrono::steady_clock::now();
    double worst = 0;
    for (int i = 0; i < 20000 && linked.fault().empty(); ++i) {
        const auto before = std::chrono::steady_clock::now();
        linked.envoi(i % 256);
        worst = std::max(worst, elapsedMs(before));
    }
    EXPECT_FALSE(linked.fault().empty()) << "the kernel buffer never filled";
    EXPECT_LT(worst, test::kBlockedMs);
    EXPECT_LT(elapsedMs(start), 10000.0);
    pty.bytes();  // the far end reads again: frames resume
    linked.envoi(1);
    EXPECT_TRUE(linked.fault().empty()) << linked.fault();
}

// Port 9: with its link gone there is no /dev/ttyS8 behind it on the machines here.
TEST(PosixSerialPort, AVanishedLineIsAFailureAndAReturningOneRecovers) {
    TempFolder folder;
    PosixSerialPort port;
    LampLink link(port, PortDevices(folder.path()));
    link.setPortNumber(9);
    {
        PtyPeer pty(folder.file("COM9"));
        link.envoi(1);
        EXPECT_TRUE(link.fault().empty());
    }
    link.envoi(2);  // the line and its link are gone
    EXPECT_FALSE(link.fault().empty());
    PtyPeer again(folder.file("COM9"));
    link.envoi(3);
    EXPECT_TRUE(link.fault().empty()) << link.fault();
    EXPECT_EQ(again.bytes(), std::string("n\x03"));
}

}  // namespace
}  // namespace lumiere
