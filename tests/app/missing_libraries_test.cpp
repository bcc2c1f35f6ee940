// SPDX-License-Identifier: GPL-3.0-or-later
// A build without OLA, aubio or libpulse: the program starts, the desk works, and each option
// that lacks its library says so in French, once at start-up when param.ini switches it on and
// in its dialog; a tapped tempo still steps the effect.

#include <gtest/gtest.h>

#include "app/application.h"
#include "dmx/dmx_option.h"
#include "music/music_option.h"
#include "support/fake_platform.h"
#include "support/fake_serial_port.h"
#include "support/temp_folder.h"
#include "text/cp1252.h"

namespace lumiere {
namespace {

TEST(MissingLibraries, EachOptionSaysWhatTheBuildLacksAndTheDeskGoesOn) {
    TempFolder folder;
    folder.write("param.ini", "[Port]\r\nCOM=1\r\n[DMX]\r\nActif=1\r\n[Musique]\r\nActif=1\r\n");
    test::FakePlatform platform;
    platform.folder = folder.path();
    test::FakeSerialPort port;
    MusicServices withoutAubio{{}, {}, "aubio"};
    Application app(platform, port, {makeMusicOption(withoutAubio), makeDmxOption({})},
                    AppConfig{folder.file("ttyS")});
    app.Form_Load();
    const std::string notice = toUtf8(app.form().status.notice);
    EXPECT_NE(notice.find("construite sans aubio"), std::string::npos) << notice;
    EXPECT_NE(notice.find("construite sans OLA"), std::string::npos) << notice;
    const MusicOption& music = *app.find<MusicOption>();
    EXPECT_NE(toUtf8(music.dialog().state).find("sans aubio"), std::string::npos);
    EXPECT_NE(toUtf8(app.find<DmxOption>()->dialog().state).find("sans OLA"), std::string::npos);

    // The desk and the serial line work as ever; the taps step the chaser.
    app.inter_Click();
    app.Command11_Click(6);
    port.clear();
    for (int i = 0; i < 4; ++i) {
        app.dispatch([&] { app.find<MusicOption>()->tap(); });
        platform.seconds += 0.5;
    }
    ASSERT_TRUE(music.wakeAt().has_value());
    platform.seconds = *music.wakeAt();
    app.dispatch([&] { app.find<MusicOption>()->wake(); });
    EXPECT_EQ(port.values().size(), 1u);
}

}  // namespace
}  // namespace lumiere
