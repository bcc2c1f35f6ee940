// SPDX-License-Identifier: GPL-3.0-or-later
// Options > "Télécommande web…" through the application: the [Web] section, what a phone sees
// of the desk, and each command doing what the same action on the desk does.

#include <gtest/gtest.h>

#include "app/application.h"
#include "support/fake_platform.h"
#include "support/fake_serial_port.h"
#include "support/temp_folder.h"
#include "text/cp1252.h"
#include "web/pairing.h"
#include "web/web_option.h"

namespace lumiere {
namespace {

struct WebRig {
    explicit WebRig(const std::string& web) {
        folder.write("param.ini", "[Port]\r\nCOM=1\r\n" + web);
        folder.write("exemple.txt", "Chennillard\r\nEND\r\n");
        folder.write("animation1.txt", "1\r\n");
        folder.write("Cycle_1.txt", "1\r\n");
        platform.folder = folder.path();
        app = std::make_unique<Application>(platform, port, std::vector{makeWebOption()},
                                            AppConfig{folder.file("ttyS")});
        app->Form_Load();
    }
    WebOption& web() { return *app->find<WebOption>(); }
    std::string run(RemoteCommand::Kind kind, int value = 0, std::string name = {}) {
        std::string refused;
        app->dispatch([&] { refused = web().runRemote({kind, value, std::move(name)}); });
        return refused;
    }

    TempFolder folder;
    test::FakePlatform platform;
    test::FakeSerialPort port;
    std::unique_ptr<Application> app;
};

TEST(WebOption, ItsSectionIsReadCorrectedAndGivesTheServerAKeptCode) {
    WebRig off("");
    EXPECT_FALSE(off.web().settings().enabled);
    EXPECT_EQ(off.web().settings().port, 8080);
    EXPECT_EQ(off.folder.read("param.ini"), "[Port]\r\nCOM=1\r\n");  // nothing written

    WebRig on("[Web]\r\nActif=1\r\nPort=99999\r\nReseau=oui\r\n");
    const WebSettings& settings = on.web().settings();
    EXPECT_TRUE(settings.enabled);
    EXPECT_EQ(settings.port, 65535);
    EXPECT_FALSE(settings.network);
    ASSERT_TRUE(isValidCode(settings.code));
    EXPECT_NE(on.folder.read("param.ini").find("Code=" + settings.code + "\r\n"),
              std::string::npos);
    const std::string notice = toUtf8(on.app->form().status.notice);
    EXPECT_NE(notice.find("Port=99999"), std::string::npos) << notice;
    EXPECT_NE(notice.find("Reseau=oui"), std::string::npos) << notice;

    on.app->dispatch([&] {
        on.web().setPort("80 80");
        on.web().save();
    });
    EXPECT_EQ(on.web().settings().port, 65535);  // refused: nothing changed
    on.app->dispatch([&] {
        on.web().setPort("8081");
        on.web().setNetwork(true);
        on.web().save();
    });
    EXPECT_EQ(on.web().settings().port, 8081);
    EXPECT_NE(on.folder.read("param.ini").find("Port=8081\r\nReseau=1\r\n"), std::string::npos);
    const std::string before = on.web().settings().code;
    on.app->dispatch([&] { on.web().newCode(); });
    EXPECT_NE(on.web().settings().code, before);
    EXPECT_NE(on.folder.read("param.ini").find("Code=" + on.web().settings().code),
              std::string::npos);
}

TEST(WebOption, APhoneSeesTheDeskAndItsCommandsAreTheDesksOwn) {
    WebRig rig("[Web]\r\nActif=1\r\nCode=123456\r\n");
    RemoteState state = rig.web().remoteState();
    EXPECT_FALSE(state.on);
    EXPECT_EQ(state.sequences, std::vector<std::string>{"exemple.txt"});  // no animation, cycle

    EXPECT_EQ(rig.run(RemoteCommand::Kind::Switch), "");
    EXPECT_EQ(rig.app->values().marche, 1);
    EXPECT_EQ(rig.run(RemoteCommand::Kind::Effect, 7), "");  // "Chennillard"
    EXPECT_TRUE(rig.app->show().timer1().enabled);
    rig.port.clear();
    rig.app->Timer1_Timer();
    state = rig.web().remoteState();
    EXPECT_TRUE(state.pressed[6]);
    const auto lit = std::count(state.lamps.begin(), state.lamps.end(), true);
    EXPECT_EQ(lit, 1);
    EXPECT_EQ(rig.port.values().size(), 1u);

    EXPECT_EQ(rig.run(RemoteCommand::Kind::Master, 4), "");
    EXPECT_EQ(rig.web().remoteState().master, 4);
    EXPECT_EQ(rig.app->form().niveau[8].caption, "4");
    EXPECT_EQ(rig.app->show().timer1().interval, 60);

    EXPECT_NE(rig.run(RemoteCommand::Kind::RunSequence, 0, "absente.txt"), "");
    EXPECT_EQ(rig.run(RemoteCommand::Kind::RunSequence, 0, "exemple.txt"), "");
    EXPECT_TRUE(rig.web().remoteState().sequenceRunning);
    EXPECT_TRUE(rig.platform.openDialogs.empty());  // the file is the phone's choice
    EXPECT_EQ(rig.run(RemoteCommand::Kind::StopSequence), "");
    EXPECT_EQ(rig.app->values().arret, 1);
    EXPECT_FALSE(rig.app->show().timer1().enabled);

    // While a modal dialog of the desk is open, a phone is told and nothing runs.
    rig.platform.openAnswers.push_back(std::nullopt);
    std::string busy;
    rig.platform.duringDialog = [&] {
        busy = rig.web().remoteState().busy;
        EXPECT_NE(rig.web().runRemote({RemoteCommand::Kind::Switch, 0, {}}), "");
    };
    rig.app->Command11_Click(9);  // "Lancer  Séquence": its file dialog
    EXPECT_NE(busy.find("fenêtre est ouverte"), std::string::npos) << busy;
    EXPECT_EQ(rig.app->values().marche, 1);
}

}  // namespace
}  // namespace lumiere
