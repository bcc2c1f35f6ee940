// SPDX-License-Identifier: GPL-3.0-or-later
// Device checks without opening anything, and "Essayer" on a real pseudo-terminal and on a port
// that refuses the user.

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "devices/device_check.h"
#include "support/fake_serial_port.h"
#include "support/pty_peer.h"
#include "support/temp_folder.h"
#include "text/cp1252.h"

namespace lumiere::devices {
namespace {

std::string reasonFor(const std::string& path) {
    const DeviceCheck check = checkDevice(path);
    EXPECT_FALSE(check.usable) << path;
    return toUtf8(check.reason);
}

TEST(DeviceCheck, EverythingButACharacterDeviceIsRefusedWithItsReason) {
    TempFolder folder;
    folder.write("fichier", "x");
    ASSERT_EQ(::mkdir(folder.file("dossier").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo(folder.file("tube").c_str(), 0644), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    folder.file("socket").copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::symlink("../../ttyUSB7", folder.file("usb-Gone-if00-port0").c_str()), 0);

    EXPECT_EQ(reasonFor(""), "Aucun périphérique choisi.");
    EXPECT_EQ(reasonFor(folder.file("absent")),
              "Le périphérique " + folder.file("absent") + " est introuvable.");
    EXPECT_EQ(reasonFor(folder.file("usb-Gone-if00-port0")),
              "Le lien " + folder.file("usb-Gone-if00-port0") +
                  " ne mène à aucun périphérique : l’adaptateur est-il branché ?");
    EXPECT_EQ(reasonFor(folder.file("fichier")),
              folder.file("fichier") + " est un fichier ordinaire, pas un port série.");
    EXPECT_EQ(reasonFor(folder.file("dossier")),
              folder.file("dossier") + " est un dossier, pas un port série.");
    EXPECT_EQ(reasonFor(folder.file("tube")),
              folder.file("tube") + " est un tube nommé, pas un port série.");
    EXPECT_EQ(reasonFor(folder.file("socket")),
              folder.file("socket") + " est une socket, pas un port série.");
    EXPECT_EQ(reasonFor(folder.file("fichier") + "/sous"),
              folder.file("fichier") + "/sous : chemin invalide.");
    ::close(sock);
}

TEST(DeviceCheck, APseudoTerminalAndALinkToItAreAccepted) {
    TempFolder folder;
    test::PtyPeer pty(folder.file("COM3"));
    ASSERT_TRUE(pty.ready());
    for (const std::string& path : {pty.path(), folder.file("COM3")}) {
        const DeviceCheck check = checkDevice(path);
        EXPECT_TRUE(check.usable) << path;
        EXPECT_TRUE(check.reason.empty());
    }
}

TEST(TryDevice, APseudoTerminalReceivesExactlyTheAllOffFrame) {
    test::PtyPeer pty;
    const TryOutcome outcome = tryDevice(pty.path());
    EXPECT_TRUE(outcome.sent) << toUtf8(outcome.message);
    EXPECT_EQ(pty.bytes(), std::string("n\0", 2));
    EXPECT_EQ(toUtf8(outcome.message), "Trame « tout éteint » envoyée à " + pty.path() +
                                           " : les huit lampes doivent être éteintes.");
}

TEST(TryDevice, ARefusedUserIsToldToJoinDialoutAndThePortIsClosed) {
    test::PtyPeer pty;
    test::FakeSerialPort port;
    port.openError = EACCES;
    const TryOutcome outcome = tryDevice(port, pty.path(), "alice");
    EXPECT_FALSE(outcome.sent);
    EXPECT_EQ(toUtf8(outcome.message),
              "Accès refusé à " + pty.path() +
                  " : l’utilisateur alice n’est pas dans le groupe dialout. Lancez « sudo "
                  "adduser alice dialout », puis fermez la session et rouvrez-la.");
    EXPECT_TRUE(port.writes.empty());
}

TEST(TryDevice, FailuresAfterTheOpenNameTheStepAndCloseThePort) {
    test::PtyPeer pty;
    test::FakeSerialPort port;
    port.writeError = EIO;
    TryOutcome outcome = tryDevice(port, pty.path(), "alice");
    EXPECT_FALSE(outcome.sent);
    EXPECT_EQ(toUtf8(outcome.message),
              "Impossible d’écrire sur " + pty.path() + " : erreur d’entrée-sortie.");
    EXPECT_EQ(port.calls.back(), "close");

    port = test::FakeSerialPort();
    port.dtrError = EIO;  // ENOTTY or EINVAL would only mean "no modem lines"
    outcome = tryDevice(port, pty.path(), "alice");
    EXPECT_FALSE(outcome.sent);
    EXPECT_TRUE(port.writes.empty());
    EXPECT_FALSE(port.isOpen());

    port = test::FakeSerialPort();
    port.dtrError = EINVAL;
    outcome = tryDevice(port, pty.path(), "alice");
    EXPECT_TRUE(outcome.sent);
    EXPECT_EQ(port.values(), std::vector<int>{0});
}

TEST(TryDevice, APathThatIsNoDeviceIsNeverOpened) {
    TempFolder folder;
    test::FakeSerialPort port;
    const TryOutcome outcome = tryDevice(port, folder.path(), "alice");
    EXPECT_FALSE(outcome.sent);
    EXPECT_EQ(toUtf8(outcome.message),
              "Essai impossible. " + folder.path() + " est un dossier, pas un port série.");
    EXPECT_TRUE(port.calls.empty());
}

}  // namespace
}  // namespace lumiere::devices
