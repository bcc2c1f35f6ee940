// SPDX-License-Identifier: GPL-3.0-or-later
// Options > "Musique…" through the application, over a sound server in memory and a hand-set
// clock: off by default (nothing listens, the effect steps on its own timer exactly as before),
// one step per beat and none from the timer while beats come, never two steps within 150 ms,
// the timer back after two seconds of silence, a failed input said once and tried again, a
// tapped tempo, and the [Musique] entries of param.ini.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "model/mouse.h"
#include "support/app_rig.h"
#include "text/cp1252.h"

namespace lumiere {
namespace {

using test::AppRig;

// Desk on and "Aller simple" (2, 4, 8 …) chosen; the frames sent so far are forgotten.
void playOneWay(AppRig& rig) {
    rig.loadAndSwitchOn();
    rig->Command11_Click(8);
    rig.port.clear();
}

// A beat heard at the current time, handed to the window's thread.
void beat(AppRig& rig) {
    rig.sound.beat();
    rig.platform.runPosted();
}

TEST(MusicOption, OffByDefaultNothingListensAndTheTimerStepsAsBefore) {
    AppRig rig;
    playOneWay(rig);
    EXPECT_FALSE(rig.sound.capturing());
    for (int i = 0; i < 3; ++i) rig->Timer1_Timer();
    EXPECT_EQ(rig.port.values(), (std::vector<int>{2, 4, 8}));
    // The dialog listens for its meter only while it is open.
    rig.music().run(&MusicOption::show);
    EXPECT_TRUE(rig.sound.capturing());
    beat(rig);
    EXPECT_EQ(rig.port.values().size(), 3u);  // heard, but not followed
    EXPECT_EQ(rig.music()->dialog().beats, 1);
    rig.music().run(&MusicOption::close);
    EXPECT_FALSE(rig.sound.capturing());
}

TEST(MusicOption, BeatsStepTheEffectAndTheTimerTakesOverInSilence) {
    AppRig rig;
    rig.folder.write("param.ini",
                     "[Port]\r\nCOM=1\r\n[Musique]\r\nActif=1\r\nEntree=sortie.monitor\r\n");
    playOneWay(rig);
    ASSERT_TRUE(rig.sound.capturing());
    EXPECT_EQ(rig.sound.source(), "sortie.monitor");

    rig->Timer1_Timer();  // no beat yet: the timer steps
    for (int i = 0; i < 4; ++i) {
        rig.platform.seconds += 0.5;
        beat(rig);            // 120 BPM: one step per beat
        rig->Timer1_Timer();  // the timer stands by
    }
    EXPECT_EQ(rig.port.values(), (std::vector<int>{2, 4, 8, 16, 32}));

    // A storm of beats every 62.5 ms steps the effect every third beat, never within 150 ms.
    rig.port.clear();
    for (int i = 0; i < 12; ++i) {
        rig.platform.seconds += 0.0625;
        beat(rig);
    }
    EXPECT_EQ(rig.port.values().size(), 4u);

    // Two seconds without a beat: the master's interval again, then the beat takes over.
    rig.port.clear();
    rig.platform.seconds += 1.9;
    rig->Timer1_Timer();
    EXPECT_TRUE(rig.port.values().empty());
    rig.platform.seconds += 0.2;
    rig->Timer1_Timer();
    rig->Timer1_Timer();
    EXPECT_EQ(rig.port.values().size(), 2u);
    rig.platform.seconds += 0.2;
    beat(rig);
    rig->Timer1_Timer();
    EXPECT_EQ(rig.port.values().size(), 3u);
}

TEST(MusicOption, AFailedInputIsSaidOnceAndTriedAgain) {
    AppRig rig;
    rig.folder.write("param.ini", "[Port]\r\nCOM=1\r\n[Musique]\r\nActif=1\r\n");
    playOneWay(rig);
    const std::string gone = fromUtf8("Musique : l’entrée par défaut a disparu");
    rig.sound.fail(music::MusicError::SourceGone, gone);
    rig.platform.runPosted();
    EXPECT_FALSE(rig.sound.capturing());
    EXPECT_EQ(rig.form().status.notice, gone);
    EXPECT_EQ(rig.music()->dialog().state, gone);
    rig->Timer1_Timer();  // the effect goes on at the master's interval
    EXPECT_EQ(rig.port.values().size(), 1u);

    rig.platform.seconds += 3;
    rig->Timer3_Timer();  // tried again, and it fails the same way: nothing more is said
    EXPECT_EQ(rig.sound.starts(), 2);
    rig->Command11_MouseDown(0, mouse::kRight, 0, 0, 0);  // another notice: no animation1.txt
    const std::string other = rig.form().status.notice;
    rig.sound.fail(music::MusicError::SourceGone, gone);
    rig.platform.runPosted();
    EXPECT_EQ(rig.form().status.notice, other);

    rig.platform.seconds += 3;
    rig->Timer3_Timer();
    rig.sound.level(0.4f);  // the input is back
    rig.platform.runPosted();
    EXPECT_NE(rig.music()->dialog().state, gone);
    rig.sound.fail(music::MusicError::NoServer,
                   fromUtf8("Musique : aucun serveur de son ne répond"));
    rig.platform.runPosted();
    EXPECT_NE(rig.form().status.notice.find("aucun serveur"), std::string::npos);
}

TEST(MusicOption, FourTapsSetATempoThatStepsTheEffect) {
    AppRig rig;
    rig.folder.write("param.ini", "[Port]\r\nCOM=1\r\n[Musique]\r\nActif=1\r\n");
    playOneWay(rig);
    for (int i = 0; i < 4; ++i) {
        rig.music().run(&MusicOption::tap);
        if (i < 3) rig.platform.seconds += 0.5;
    }
    EXPECT_NEAR(rig.music()->dialog().bpm, 120, 0.5);
    const auto next = rig.music()->wakeAt();
    ASSERT_TRUE(next.has_value());
    EXPECT_NEAR(*next - rig.platform.seconds, 0.5, 0.01);
    rig.platform.seconds = *next;
    rig.music().run(&MusicOption::wake);
    EXPECT_EQ(rig.port.values(), std::vector<int>{2});
    rig->Timer1_Timer();  // the tapped beat leads
    EXPECT_EQ(rig.port.values().size(), 1u);
}

TEST(MusicOption, SavesItsEntriesAndSaysWhatParamIniHeldWrong) {
    AppRig rig;
    rig.folder.write("param.ini",
                     "; notes\r\n[Port]\r\nCOM=1\r\n[Musique]\r\nActif=oui\r\nSensibilite=42\r\n");
    rig->Form_Load();
    EXPECT_NE(rig.form().status.notice.find("Actif=oui"), std::string::npos);
    EXPECT_NE(rig.form().status.notice.find("Sensibilite=42"), std::string::npos);
    EXPECT_EQ(rig.music()->dialog().settings.sensitivity, 10);
    EXPECT_FALSE(rig.music()->dialog().settings.enabled);

    rig.sound.sources.sources = {{"micro", "Micro", false}, {"hp.monitor", "Haut-parleurs", true}};
    rig.music().run(&MusicOption::show);
    // The list comes back from a thread of its own.
    for (int i = 0; i < 2000 && rig.platform.runPosted() == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(rig.music()->dialog().inputs.size(), 2u);
    rig.music().run([&](MusicOption& o) { o.setEnabled(true); });
    rig.music().run([&](MusicOption& o) { o.selectInput("hp.monitor"); });
    rig.music().run([&](MusicOption& o) { o.setSensitivity(3); });
    EXPECT_EQ(rig.sound.source(), "hp.monitor");
    EXPECT_EQ(rig.sound.sensitivity(), 3);
    rig.music().run(&MusicOption::save);
    EXPECT_EQ(rig.folder.read("param.ini"),
              "; notes\r\n[Port]\r\nCOM=1\r\n[Musique]\r\nActif=1\r\nSensibilite=3\r\n"
              "Entree=hp.monitor\r\n");
}

}  // namespace
}  // namespace lumiere

namespace lumiere {
namespace {

// The status follows the capture: a server that comes back after failing, or one that stops
// delivering anything, is said once each way; an input param.ini names and the server does not
// list is named in its errors, not taken for the default one.
TEST(MusicOption, TheStatusFollowsTheCaptureAndNamesTheInputAskedFor) {
    AppRig rig;
    const std::string id(10 * 1024, 'x');
    rig.folder.write("param.ini",
                     "[Port]\r\nCOM=1\r\n[Musique]\r\nActif=1\r\nEntree=" + id + "\r\n");
    rig->Form_Load();
    rig.platform.runPosted();
    ASSERT_TRUE(rig.sound.capturing());
    EXPECT_EQ(rig.sound.sourceName().rfind("xxxxxxxx", 0), 0u) << rig.sound.sourceName();
    EXPECT_LT(rig.sound.sourceName().size(), 64u);

    rig.sound.level(0.5f);
    rig.platform.runPosted();
    rig.platform.seconds += 4;  // nothing at all for 4 s: a frozen server
    rig->Timer3_Timer();
    EXPECT_NE(toUtf8(rig.form().status.notice).find("ne donne plus rien"), std::string::npos)
        << toUtf8(rig.form().status.notice);
    rig.sound.level(0.5f);
    rig.platform.runPosted();
    EXPECT_NE(toUtf8(rig.form().status.notice).find("le son revient"), std::string::npos);

    // The server dies, a new one answers at the next try: said when it goes and when it is back.
    rig.sound.fail(music::MusicError::NoServer,
                   fromUtf8("Musique : aucun serveur de son ne répond"));
    rig.platform.runPosted();
    rig.platform.seconds += 3;
    rig->Timer3_Timer();
    ASSERT_TRUE(rig.sound.capturing());
    rig.sound.level(0.2f);
    rig.platform.runPosted();
    EXPECT_NE(toUtf8(rig.form().status.notice).find("le son revient"), std::string::npos)
        << toUtf8(rig.form().status.notice);
    EXPECT_EQ(toUtf8(rig.music()->dialog().state).find("aucun serveur"), std::string::npos);
}

}  // namespace
}  // namespace lumiere
