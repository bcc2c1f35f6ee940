// SPDX-License-Identifier: GPL-3.0-or-later
// Options > "Sortie DMX…" through the application: off by default (no connection, nothing
// mirrored), refused boxes write nothing, a saved output keeps param.ini's other lines and gets
// every frame of the show, hand-edited values are said, and the all-off frame of "Quitter" goes
// to OLA too.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include "settings/profile.h"

#include "support/app_rig.h"
#include "support/waiting.h"
#include "text/cp1252.h"

namespace lumiere {
namespace {

using test::AppRig;

// The lamp bytes the fake OLA was given, in order.
std::vector<int> lampsSent(const test::FakeDmxConnection& ola) {
    std::vector<int> lamps;
    for (const DmxFrame& frame : ola.sent()) lamps.push_back(frame.lamps);
    return lamps;
}

using test::once;

template <typename Condition>
bool eventually(Condition condition) {
    return test::waitFor(condition, std::chrono::seconds(2));
}

TEST(DmxOption, IsOffByDefaultAndTheBoxesMustHoldNumbersInRange) {
    AppRig rig;
    rig.loadAndSwitchOn();
    rig->Timer4_Timer();
    EXPECT_EQ(rig.dmx, nullptr);  // no output, no connection
    const DmxDialog& dialog = rig.dmxOption()->dialog();
    EXPECT_FALSE(dialog.enabled);
    EXPECT_EQ(dialog.universe, "1");
    EXPECT_EQ(dialog.channel, "1");
    EXPECT_EQ(dialog.level, "255");

    rig.dmxOption().run(&DmxOption::show);
    rig.dmxOption().run([&](DmxOption& o) { o.setEnabled(true); });
    const std::pair<std::string, std::string> refused[] = {
        {"0", "1"}, {"65536", "1"}, {"1 2", "1"}, {"1", "506"}, {"1", "abc"}};
    for (const auto& [universe, channel] : refused) {
        rig.dmxOption().run([&](DmxOption& o) { o.setUniverse(universe); });
        rig.dmxOption().run([&](DmxOption& o) { o.setChannel(channel); });
        rig.dmxOption().run(&DmxOption::save);
        EXPECT_NE(dialog.message.find(fromUtf8("Rien n’a été enregistré")), std::string::npos)
            << universe << " " << channel;
        EXPECT_FALSE(dialog.saved);
        EXPECT_EQ(rig.folder.read("param.ini").find("[DMX]"), std::string::npos);
        EXPECT_EQ(rig.dmx, nullptr);
    }
    rig.dmxOption().run([&](DmxOption& o) { o.setChannel("505"); });
    rig.dmxOption().run([&](DmxOption& o) { o.setUniverse("7"); });
    rig.dmxOption().run([&](DmxOption& o) { o.setLevel("0"); });
    rig.dmxOption().run(&DmxOption::save);
    EXPECT_NE(dialog.message.find("niveau"), std::string::npos);
}

TEST(DmxOption, ASavedOutputGetsEveryFrameAndKeepsTheOtherLines) {
    AppRig rig;
    rig.folder.write("param.ini",
                     "; mes notes\r\n[Port]\r\nCOM=1\r\n[Table]\r\nvaleur=pupitre.bmp\r\n");
    rig.loadAndSwitchOn();
    rig.dmxOption().run(&DmxOption::show);
    rig.dmxOption().run([&](DmxOption& o) { o.setEnabled(true); });
    rig.dmxOption().run([&](DmxOption& o) { o.setUniverse(" 7 "); });
    rig.dmxOption().run([&](DmxOption& o) { o.setChannel("505"); });
    rig.dmxOption().run(&DmxOption::save);
    EXPECT_EQ(rig.dmxOption()->dialog().message, fromUtf8("Enregistré."));
    EXPECT_TRUE(rig.dmxOption()->dialog().saved);
    EXPECT_EQ(rig.folder.read("param.ini"),
              "; mes notes\r\n[Port]\r\nCOM=1\r\n[Table]\r\nvaleur=pupitre.bmp\r\n"
              "[DMX]\r\nActif=1\r\nUnivers=7\r\nCanal=505\r\nNiveau=255\r\n");
    ASSERT_NE(rig.dmx, nullptr);
    ASSERT_TRUE(eventually([&] { return !rig.dmx->applied().empty(); }));  // connected, dark

    rig->Command11_Click(8);  // "Aller simple": 2, 4, 8 …
    for (int i = 0; i < 3; ++i) {
        rig->Timer1_Timer();
        const std::size_t frames = static_cast<std::size_t>(i) + 2;
        ASSERT_TRUE(eventually([&] { return once(lampsSent(*rig.dmx)).size() >= frames; }));
    }
    EXPECT_EQ(once(lampsSent(*rig.dmx)), (std::vector<int>{0, 2, 4, 8}));
    EXPECT_EQ(rig.dmx->sent().back().universe, 7);
    EXPECT_EQ(rig.dmx->sent().back().firstChannel, 505);

    rig->n_quit_Click();
    EXPECT_EQ(lampsSent(*rig.dmx).back(), 0);  // OLA has the all-off frame before the end
}

TEST(DmxOption, HandEditedValuesAreBroughtIntoRangeAndSaid) {
    AppRig rig;
    rig.folder.write("param.ini",
                     "[Port]\r\nCOM=1\r\n[DMX]\r\nActif=1\r\nUnivers=abc\r\nCanal=600\r\n");
    rig->Form_Load();
    ASSERT_NE(rig.dmx, nullptr);
    EXPECT_EQ(rig.dmxOption()->dialog().channel, "505");
    EXPECT_EQ(rig.dmxOption()->dialog().universe, "1");
    const std::string& notice = rig.form().status.notice;
    EXPECT_NE(notice.find("Canal=600"), std::string::npos) << notice;
    EXPECT_NE(notice.find("Univers=abc"), std::string::npos) << notice;
}

}  // namespace
}  // namespace lumiere
