// SPDX-License-Identifier: GPL-3.0-or-later
// Options > "Port série…" through the application, on a /dev tree of the test's own: the list
// shows the by-id name of a plugged adapter and follows an unplug, "Essayer" sends one all-off
// frame to the selection, "Utiliser" sends every frame there and keeps the choice in param.ini,
// "Aucun (numéro COM)" gives the port number back, and a bad choice in param.ini is said.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "support/app_rig.h"
#include "text/cp1252.h"

namespace lumiere {
namespace {

using test::AppRig;

// A USB adapter plugged in: /dev/ttyUSB0, and its stable name under /dev/serial/by-id.
struct PluggedAdapter {
    explicit PluggedAdapter(const AppRig& rig) : dev(rig.folder.file("dev")) {
        std::filesystem::create_directories(dev + "/serial/by-id");
        // Any character device stands in for the adapter: the list looks at the kind of file.
        EXPECT_EQ(::symlink("/dev/null", (dev + "/ttyUSB0").c_str()), 0);
        EXPECT_EQ(::symlink("../../ttyUSB0", byId().c_str()), 0);
    }
    std::string byId() const { return dev + "/serial/by-id/usb-Lumiere_Boitier_8_lampes-if00"; }
    void unplug() const {
        ::unlink(byId().c_str());
        ::unlink((dev + "/ttyUSB0").c_str());
    }
    std::string dev;
};

TEST(SerialPortOption, ListsTheAdapterTriesItAndUsesIt) {
    AppRig rig;
    PluggedAdapter adapter(rig);
    rig.loadAndSwitchOn();
    rig.serial().run(&SerialPortOption::show);
    const SerialPortDialog& dialog = rig.serial()->dialog();
    ASSERT_EQ(dialog.devices.size(), 1u);  // by its stable name only
    EXPECT_EQ(dialog.devices[0].path, adapter.byId());
    EXPECT_EQ(dialog.selected, "");  // "Aucun (numéro COM)": nothing chosen yet

    rig.serial().run(&SerialPortOption::tryIt);
    EXPECT_TRUE(rig.port.writes.empty());  // nothing selected, nothing sent
    rig.serial().run([&](SerialPortOption& o) { o.select(adapter.byId()); });
    rig.serial().run(&SerialPortOption::tryIt);
    EXPECT_EQ(rig.port.device, adapter.byId());
    EXPECT_EQ(rig.port.writes, (std::vector<std::vector<std::uint8_t>>{{0x6E, 0x00}}));

    rig.serial().run(&SerialPortOption::use);
    EXPECT_NE(rig.folder.read("param.ini").find("Peripherique=" + adapter.byId()),
              std::string::npos);
    rig.port.clear();
    rig->Timer4_Timer();
    EXPECT_EQ(rig.port.device, adapter.byId());  // every frame goes there now
    EXPECT_EQ(rig.port.writes.size(), 1u);

    adapter.unplug();
    rig.serial().run(&SerialPortOption::watch);
    EXPECT_TRUE(dialog.devices.empty());

    rig.serial().run([&](SerialPortOption& o) { o.select(""); });  // "Aucun (numéro COM)"
    rig.serial().run(&SerialPortOption::use);
    EXPECT_EQ(rig.folder.read("param.ini").find("Peripherique"), std::string::npos);
    rig->Timer4_Timer();
    EXPECT_EQ(rig.port.device, rig.folder.file("ttyS0"));  // port 1 again
}

TEST(SerialPortOption, ADeviceInParamIniThatIsNoSerialPortIsSaid) {
    for (const std::string kind : {"file", "folder", "missing"}) {
        AppRig rig;
        const std::string path = rig.folder.file("not-a-port");
        if (kind == "file") rig.folder.write("not-a-port", "x");
        if (kind == "folder") std::filesystem::create_directory(path);
        rig.folder.write("param.ini", "[Port]\r\nCOM=1\r\nPeripherique=" + path + "\r\n");
        rig->Form_Load();
        EXPECT_NE(rig.form().status.notice.find("Peripherique"), std::string::npos) << kind;
        EXPECT_NE(rig.form().status.linkFault.find(fromUtf8("Périphérique " + path)),
                  std::string::npos)
            << kind << ": " << rig.form().status.linkFault;
        rig.serial().run(&SerialPortOption::show);
        rig.serial().run(
            &SerialPortOption::use);  // the path it holds is refused again, and nothing is written
        EXPECT_NE(rig.serial()->dialog().message.find(fromUtf8("Rien n’a été enregistré")),
                  std::string::npos)
            << kind;
    }
}

}  // namespace
}  // namespace lumiere
