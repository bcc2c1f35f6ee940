// SPDX-License-Identifier: GPL-3.0-or-later
// The typical run through the real window offscreen, with frames on a real pseudo-terminal.

#include <gtest/gtest.h>
#include <QTest>
#include "ui/controls/click_slider.h"

#include "support/pty_peer.h"
#include "support/real_window.h"
#include "ui/controls/face_button.h"
#include "ui/controls/picture_view.h"
#include "ui/desk_view.h"

namespace lumiere {
namespace {

struct RealLineRig : test::RealWindow {
    RealLineRig() : peer(line()) { folder.write("animation1.txt", "1\r\n2\r\nEND\r\n"); }
    test::PtyPeer peer;
};

TEST(EndToEnd, SwitchOnPlayTheChaserStopAndRunASequence) {
    RealLineRig rig;
    ASSERT_TRUE(rig.peer.ready());
    QTest::mouseClick(rig.view().desk()->toggle(), Qt::LeftButton);
    EXPECT_TRUE(rig.peer.frames().empty());  // switching on sends nothing by itself

    QTest::mouseClick(rig.view().button(6), Qt::LeftButton);
    for (int i = 0; i < 10; ++i) rig.app->Timer1_Timer();
    EXPECT_EQ(rig.peer.frames(), (std::vector<int>{2, 4, 8, 16, 32, 64, 128, 128, 128, 64}));

    QTest::mouseClick(rig.view().button(6), Qt::RightButton);
    EXPECT_FALSE(rig.app->show().timer1().enabled);
    rig.app->Timer4_Timer();
    EXPECT_EQ(rig.peer.frames().size(), 1u);

    rig.folder.write("two.txt", "Aller simple\r\nChennillard\r\n");
    rig.platform.openAnswers.push_back(rig.folder.file("two.txt"));
    QTest::mouseClick(rig.view().button(9), Qt::LeftButton);
    rig.app->runnerWake();  // first step
    EXPECT_EQ(rig.app->form().Label5.caption, "Aller simple");
    rig.app->Timer1_Timer();
    rig.app->Timer1_Timer();
    EXPECT_EQ(rig.peer.frames(), (std::vector<int>{128, 1}));  // on from the chaser's 64
    rig.platform.seconds += 5;
    rig.app->runnerWake();  // end of the slice
    rig.app->runnerWake();  // second step
    EXPECT_EQ(rig.app->form().Label5.caption, "Chennillard");
    EXPECT_TRUE(rig.app->form().Command11[6].italic);

    rig.app->n_quit_Click();
    EXPECT_EQ(rig.peer.frames(), std::vector<int>{0});
    EXPECT_TRUE(rig.app->form().status.linkFault.empty());
}

TEST(EndToEnd, WithoutAPortTheWindowSaysSoAndQuitsCleanly) {
    TempFolder folder;
    folder.write("param.ini", "[Port]\r\nCOM=0\r\n");
    test::FakePlatform platform;
    platform.folder = folder.path();
    PosixSerialPort port;
    Application app(platform, port);
    ui::MainWindow window(app, platform);
    app.Form_Load();
    EXPECT_FALSE(app.form().status.linkFault.empty());
    app.n_quit_Click();
    EXPECT_EQ(platform.ended, 1);
}

}  // namespace
}  // namespace lumiere
