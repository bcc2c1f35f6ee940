// SPDX-License-Identifier: GPL-3.0-or-later
// The lamp link over a recording port: the exact frame, the rounding, the open/close around every
// frame, the port number, and how a failure is shown once and cleared.

#include <gtest/gtest.h>

#include "link/lamp_link.h"
#include "support/fake_serial_port.h"
#include "support/temp_folder.h"
#include "text/cp1252.h"

namespace lumiere {
namespace {

using test::FakeSerialPort;

class LampLinkTest : public ::testing::Test {
protected:
    LampLinkTest() : link(port, PortDevices(folder.path())) { link.setPortNumber(3); }
    TempFolder folder;
    FakeSerialPort port;
    LampLink link;
};

TEST_F(LampLinkTest, WritesTheLetterNAndTheValueInOneWriteBetweenOpenAndClose) {
    link.envoi(0);
    link.envoi(255);
    ASSERT_EQ(port.writes.size(), 2u);
    EXPECT_EQ(port.writes[0], (std::vector<std::uint8_t>{0x6E, 0x00}));
    EXPECT_EQ(port.writes[1], (std::vector<std::uint8_t>{0x6E, 0xFF}));
    const std::vector<std::string> frame = {"open /dev/ttyS2", "dtr 0", "write", "drain", "close"};
    EXPECT_EQ(std::vector<std::string>(port.calls.begin(), port.calls.begin() + 5), frame);
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(link.fault().empty());
    EXPECT_EQ(link.framesSent(), 2u);
}

TEST_F(LampLinkTest, RoundsHalvesToTheEvenNeighbour) {
    for (double v : {12.5, 13.5, 0.4, 254.6, 2.5}) link.envoi(v);
    EXPECT_EQ(port.values(), (std::vector<int>{12, 14, 0, 255, 2}));
}

TEST_F(LampLinkTest, RefusesValuesOutsideTheByteAndClosesThePort) {
    for (double v : {-1.0, 255.6, 256.0, 1e300}) {
        link.envoi(v);
        EXPECT_FALSE(port.isOpen());
        EXPECT_FALSE(link.fault().empty());
    }
    EXPECT_TRUE(port.writes.empty());
    link.envoi(7);
    EXPECT_TRUE(link.fault().empty());
}

TEST_F(LampLinkTest, AFrameSentWhileThePortIsOpenIsWrittenWithoutReopening) {
    port.setDevice("/dev/ttyS2");
    ASSERT_EQ(port.open(), 0);
    port.calls.clear();
    link.envoi(5);
    EXPECT_EQ(port.calls, (std::vector<std::string>{"dtr 0", "write", "drain", "close"}));
    EXPECT_FALSE(port.isOpen());
}

TEST_F(LampLinkTest, APortChangeAppliesToTheNextFrame) {
    link.envoi(1);
    link.setPortNumber(4);
    link.envoi(2);
    EXPECT_EQ(port.calls[5], "open /dev/ttyS3");
}

TEST_F(LampLinkTest, APortLinkedInTheProgramFolderWinsOverTheSerialPort) {
    folder.write("com3", "");
    link.envoi(1);
    EXPECT_EQ(port.device, folder.file("com3"));
    folder.write("COM3", "");  // the exact name wins over another letter case
    link.envoi(1);
    EXPECT_EQ(port.device, folder.file("COM3"));
}

TEST_F(LampLinkTest, NoPortSelectedDropsTheFrameAndSaysSo) {
    link.setPortNumber(0);
    link.envoi(9);
    EXPECT_TRUE(port.calls.empty());
    EXPECT_NE(link.fault().find("COM0"), std::string::npos);
}

TEST_F(LampLinkTest, AFailureIsDescribedOnceAndClearedWhenAFrameGetsThrough) {
    port.openError = ENOENT;
    link.envoi(1);
    const std::string first = link.fault();
    EXPECT_NE(first.find("COM3"), std::string::npos);
    EXPECT_NE(first.find("/dev/ttyS2"), std::string::npos);
    EXPECT_NE(first.find("introuvable"), std::string::npos);
    link.envoi(2);
    EXPECT_EQ(link.fault(), first);  // the same episode: the same text, nothing piles up
    port.openError = 0;
    link.envoi(3);
    EXPECT_TRUE(link.fault().empty());
    EXPECT_EQ(port.values(), (std::vector<int>{3}));
}

TEST_F(LampLinkTest, PermissionProblemsPointAtTheDialoutGroup) {
    port.openError = EACCES;
    link.envoi(1);
    EXPECT_NE(link.fault().find("dialout"), std::string::npos);
    EXPECT_NE(link.fault().find(fromUtf8("accès refusé")), std::string::npos);
}

TEST_F(LampLinkTest, ADeviceWithoutModemLinesStillGetsItsFrame) {
    port.dtrError = ENOTTY;
    link.envoi(1);
    port.dtrError = EINVAL;
    link.envoi(2);
    port.dtrError = EIO;  // a real failure of the line
    link.envoi(3);
    EXPECT_EQ(port.values(), (std::vector<int>{1, 2}));
    EXPECT_FALSE(link.fault().empty());
    EXPECT_FALSE(port.isOpen());
}

TEST_F(LampLinkTest, AFailedWriteClosesThePort) {
    port.writeError = EAGAIN;
    link.envoi(1);
    EXPECT_FALSE(port.isOpen());
    EXPECT_NE(link.fault().find(fromUtf8("saturée")), std::string::npos);
}

TEST_F(LampLinkTest, ProbeTellsAtOnceWhetherThePortIsThere) {
    link.setPortNumber(7);
    link.probe();
    EXPECT_NE(link.fault().find("introuvable"), std::string::npos);  // no COM7 here, no ttyS6
    folder.write("COM7", "");
    link.probe();
    EXPECT_NE(link.fault().find(fromUtf8("pas un port série")), std::string::npos);
    link.setPortNumber(0);
    link.probe();
    EXPECT_NE(link.fault().find(fromUtf8("Aucun port")), std::string::npos);
    EXPECT_TRUE(port.calls.empty());  // probing never opens anything
}

}  // namespace
}  // namespace lumiere
