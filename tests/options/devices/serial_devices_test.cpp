// SPDX-License-Identifier: GPL-3.0-or-later
// The device list and its watcher on a fake /dev tree: stable by-id names first and never twice,
// kernel names in number order, only the UARTs the probe finds, the virtual controller's COM link.

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <filesystem>

#include "devices/device_watcher.h"
#include "devices/serial_devices.h"
#include "support/temp_folder.h"
#include "text/cp1252.h"

namespace lumiere::devices {
namespace {

// A /dev of its own: device nodes are plain files, by-id names are relative links as udev makes
// them, and the program folder sits beside it.
class FakeDev {
public:
    FakeDev() {
        std::filesystem::create_directories(dev() + "/serial/by-id");
        std::filesystem::create_directories(dev() + "/pts");
        std::filesystem::create_directories(program());
    }
    std::string dev() const { return root_.file("dev"); }
    std::string program() const { return root_.file("programme"); }
    std::string node(const std::string& name) const { return dev() + "/" + name; }
    std::string byId(const std::string& name) const { return dev() + "/serial/by-id/" + name; }

    // Device nodes, including pseudo-terminals ("pts/3").
    void addNode(const std::string& name) const { root_.write("dev/" + name, ""); }
    void addById(const std::string& name, const std::string& kernelName) const {
        EXPECT_EQ(::symlink(("../../" + kernelName).c_str(), byId(name).c_str()), 0);
    }
    void addComLink(const std::string& name, const std::string& target) const {
        EXPECT_EQ(::symlink(target.c_str(), (program() + "/" + name).c_str()), 0);
    }
    DeviceTree tree(std::vector<std::string>* probed = nullptr) const {
        return {dev(), program(), [probed](const std::string& node) {
                    if (probed) probed->push_back(node);
                    return node.ends_with("/ttyS1") || node.ends_with("/ttyS4");
                }};
    }

private:
    TempFolder root_;
};

std::string real(const std::string& path) {
    return std::filesystem::canonical(path).string();
}

TEST(SerialDevices, ByIdFirstThenKernelNamesThenUartsThenTheVirtualController) {
    FakeDev fake;
    for (const char* name : {"ttyUSB0", "ttyUSB1", "ttyUSB2", "ttyUSB10", "ttyACM0", "ttyS0",
                             "ttyS1", "ttyS2", "ttyS4", "tty1", "ttyUSB", "ttyUSBx", "null"}) {
        fake.addNode(name);
    }
    fake.addById("usb-FTDI_FT232R_USB_UART_A600-if00-port0", "ttyUSB1");
    fake.addById("usb-Arduino__www.arduino.cc__0043_7543-if00", "ttyACM0");
    fake.addById("usb-Gone_Adapter_99-if00-port0", "ttyUSB7");  // unplugged: points nowhere
    fake.addNode("pts/5");
    fake.addComLink("com3", fake.dev() + "/pts/5");  // the simulator's line, any letter case
    fake.addComLink("COM4", fake.node("ttyUSB0"));   // a hand-made link: not a virtual line
    fake.addComLink("COM9", fake.dev() + "/pts/9");  // a simulator that died: gone
    fake.addComLink("COMX", fake.dev() + "/pts/5");  // not COM<digits>

    std::vector<std::string> probed;
    const std::vector<SerialDevice> list = listSerialDevices(fake.tree(&probed));

    const std::vector<SerialDevice> expected = {
        {fake.byId("usb-Arduino__www.arduino.cc__0043_7543-if00"), real(fake.node("ttyACM0")),
         "USB Arduino www.arduino.cc 0043 7543 (ttyACM0)"},
        {fake.byId("usb-FTDI_FT232R_USB_UART_A600-if00-port0"), real(fake.node("ttyUSB1")),
         "USB FTDI FT232R USB UART A600 (ttyUSB1)"},
        {fake.node("ttyUSB0"), real(fake.node("ttyUSB0")), "Adaptateur USB série (ttyUSB0)"},
        {fake.node("ttyUSB2"), real(fake.node("ttyUSB2")), "Adaptateur USB série (ttyUSB2)"},
        {fake.node("ttyUSB10"), real(fake.node("ttyUSB10")), "Adaptateur USB série (ttyUSB10)"},
        {fake.node("ttyS1"), real(fake.node("ttyS1")), "Port série COM2 (ttyS1)"},
        {fake.node("ttyS4"), real(fake.node("ttyS4")), "Port série COM5 (ttyS4)"},
        {fake.program() + "/com3", real(fake.dev() + "/pts/5"), "Contrôleur virtuel (com3)"},
    };
    ASSERT_EQ(list.size(), expected.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i].path, expected[i].path) << i;
        EXPECT_EQ(list[i].device, expected[i].device) << i;
        EXPECT_EQ(toUtf8(list[i].label), expected[i].label) << i;
    }
    // Only serial ports are probed; the by-id links are never opened.
    EXPECT_EQ(probed, (std::vector<std::string>{fake.node("ttyS0"), fake.node("ttyS1"),
                                                fake.node("ttyS2"), fake.node("ttyS4")}));
}

TEST(SerialDevices, LongByIdNamesAreCutAndTwoNamesForOneDeviceListItOnce) {
    FakeDev fake;
    fake.addNode("ttyUSB0");
    fake.addById("usb-Prolific_Technology_Inc._USB-Serial_Controller_With_A_Long_Name_0123-if00",
                 "ttyUSB0");
    fake.addById("usb-Prolific_Technology_Inc._Z_Other_Name-if00", "ttyUSB0");
    const std::vector<SerialDevice> list = listSerialDevices(fake.tree());
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(toUtf8(list[0].label), "USB Prolific Technology Inc. USB-Serial Cont… (ttyUSB0)");
}

TEST(SerialDevices, AnEmptyOrMissingTreeListsNothing) {
    FakeDev fake;
    EXPECT_TRUE(listSerialDevices(fake.tree()).empty());
    EXPECT_TRUE(listSerialDevices({fake.dev() + "/absent", "", nullptr}).empty());
}

TEST(SerialDevices, APseudoTerminalIsNoUart) {
    TempFolder folder;
    folder.write("not-a-port", "");
    EXPECT_FALSE(uartAnswers(folder.file("not-a-port")));
    EXPECT_FALSE(uartAnswers("/dev/ptmx"));
}

TEST(DeviceWatcher, SeesPlugsUnplugsAndTheSimulatorAndIsQuietOtherwise) {
    FakeDev fake;
    fake.addNode("ttyS1");
    DeviceWatcher watcher(fake.tree());
    ASSERT_EQ(watcher.devices().size(), 1u);
    EXPECT_FALSE(watcher.poll());

    fake.addNode("ttyUSB0");  // plugged: the kernel name first, udev's by-id link a moment later
    EXPECT_TRUE(watcher.poll());
    EXPECT_EQ(watcher.devices().front().path, fake.node("ttyUSB0"));
    fake.addById("usb-FTDI_FT232R-if00-port0", "ttyUSB0");
    EXPECT_TRUE(watcher.poll());
    EXPECT_EQ(watcher.devices().front().path, fake.byId("usb-FTDI_FT232R-if00-port0"));
    EXPECT_EQ(watcher.devices().size(), 2u);
    EXPECT_FALSE(watcher.poll());

    fake.addNode("pts/3");
    fake.addComLink("COM1", fake.dev() + "/pts/3");
    EXPECT_TRUE(watcher.poll());
    EXPECT_EQ(watcher.devices().back().path, fake.program() + "/COM1");

    ::unlink(fake.node("ttyUSB0").c_str());  // pulled out: the by-id link now points nowhere
    EXPECT_TRUE(watcher.poll());
    ::unlink(fake.byId("usb-FTDI_FT232R-if00-port0").c_str());
    EXPECT_FALSE(watcher.poll());  // already gone from the list
    ASSERT_EQ(watcher.devices().size(), 2u);
    EXPECT_EQ(watcher.devices().front().path, fake.node("ttyS1"));
}

}  // namespace
}  // namespace lumiere::devices
