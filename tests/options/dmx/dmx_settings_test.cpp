// SPDX-License-Identifier: GPL-3.0-or-later
#include "dmx/dmx_settings.h"

#include <gtest/gtest.h>

#include "dmx/dmx_frame.h"
#include "settings/profile.h"
#include "text/cp1252.h"

namespace lumiere {
namespace {

std::vector<int> litChannels(const DmxChannels& channels, std::uint8_t level) {
    std::vector<int> lit;
    for (std::size_t i = 0; i < channels.size(); ++i) {
        if (channels[i] == level)
            lit.push_back(static_cast<int>(i) + 1);
        else
            EXPECT_EQ(channels[i], 0) << "channel " << i + 1;
    }
    return lit;
}

TEST(DmxFrameTest, LampKGoesToChannelCanalPlusKMinusOne) {
    EXPECT_EQ(litChannels(channelValues(dmxFrame({true, 1, 1, 255}, 0x01)), 255),
              std::vector<int>({1}));
    EXPECT_EQ(litChannels(channelValues(dmxFrame({true, 1, 10, 200}, 0x82)), 200),
              std::vector<int>({11, 17}));
    EXPECT_EQ(litChannels(channelValues(dmxFrame({true, 7, 505, 1}, 0xFF)), 1),
              std::vector<int>({505, 506, 507, 508, 509, 510, 511, 512}));
    EXPECT_EQ(litChannels(channelValues(dmxFrame({true, 1, 505, 255}, 0x00)), 255),
              std::vector<int>());
    const DmxFrame frame = dmxFrame({true, 65535, 3, 42}, 0x80);
    EXPECT_EQ(frame.universe, 65535);
    EXPECT_EQ(frame.lamps, 0x80);
}

TEST(DmxSettingsTest, DialogAcceptsWholeNumbersInRangeOnly) {
    const struct {
        DmxField field;
        const char* typed;
        std::optional<int> value;
    } cases[] = {
        {DmxField::Universe, "1", 1},         {DmxField::Universe, " 65535 ", 65535},
        {DmxField::Universe, "0", {}},        {DmxField::Universe, "65536", {}},
        {DmxField::Universe, "-1", {}},       {DmxField::Universe, "", {}},
        {DmxField::Universe, "1 2", {}},      {DmxField::Universe, "3x", {}},
        {DmxField::FirstChannel, "505", 505}, {DmxField::FirstChannel, "506", {}},
        {DmxField::FirstChannel, "12.5", {}}, {DmxField::FirstChannel, "&H10", 16},
        {DmxField::Level, "255", 255},        {DmxField::Level, "0", {}},
        {DmxField::Level, "256", {}},         {DmxField::Level, "1e2", 100},
    };
    for (const auto& c : cases) {
        const DmxFieldCheck check = checkDmxField(c.field, c.typed);
        EXPECT_EQ(check.value, c.value) << c.typed;
        EXPECT_EQ(check.refusal.empty(), c.value.has_value()) << c.typed;
    }
}

TEST(DmxSettingsTest, RefusalsSayWhatWasTypedAndTheRange) {
    EXPECT_EQ(toUtf8(checkDmxField(DmxField::FirstChannel, "510").refusal),
              "« 510 » n’est pas un premier canal possible : tapez un nombre entier de 1 à 505 "
              "(les 8 lampes occupent ce canal et les 7 suivants, 512 au plus). Rien n’a été "
              "enregistré.");
    EXPECT_EQ(toUtf8(checkDmxField(DmxField::Universe, "abc").refusal),
              "« abc » n’est pas un numéro d’univers possible : tapez un nombre entier de 1 à "
              "65535. Rien n’a été enregistré.");
    const std::string pasted(200, '9');
    const std::string refusal = toUtf8(checkDmxField(DmxField::Level, pasted).refusal);
    EXPECT_NE(refusal.find("« 99999999999999999999… »"), std::string::npos) << refusal;
}

TEST(DmxSettingsTest, FileValuesAreBroughtIntoRangeAndSaidSo) {
    const DmxSettingsRead none = readDmxSettings(Profile::parse("[Port]\r\nCOM=1\r\n"));
    EXPECT_EQ(none.settings, DmxSettings{});
    EXPECT_FALSE(none.settings.enabled);
    EXPECT_TRUE(none.notes.empty());

    const DmxSettingsRead good = readDmxSettings(
        Profile::parse("[dmx]\r\nactif=1\r\nUnivers=3\r\nCanal=505\r\nNiveau=128\r\n"));
    EXPECT_EQ(good.settings, (DmxSettings{true, 3, 505, 128}));
    EXPECT_TRUE(good.notes.empty());

    const DmxSettingsRead bad = readDmxSettings(
        Profile::parse("[DMX]\r\nActif=oui\r\nUnivers=0\r\nCanal=600\r\nNiveau=abc\r\n"));
    EXPECT_EQ(bad.settings, (DmxSettings{false, 1, 505, 255}));
    ASSERT_EQ(bad.notes.size(), 4u);
    EXPECT_EQ(toUtf8(bad.notes[0]),
              "param.ini, section [DMX] : Actif=oui n’est ni 0 ni 1 ; la sortie DMX reste "
              "arrêtée.");
    EXPECT_EQ(toUtf8(bad.notes[1]),
              "param.ini, section [DMX] : Univers=0 n’est pas un nombre entier de 1 à 65535 ; "
              "l’univers 1 est utilisé.");
    EXPECT_EQ(toUtf8(bad.notes[2]),
              "param.ini, section [DMX] : Canal=600 n’est pas un nombre entier de 1 à 505 ; le "
              "canal 505 est utilisé.");
    EXPECT_EQ(toUtf8(bad.notes[3]),
              "param.ini, section [DMX] : Niveau=abc n’est pas un nombre ; le niveau 255 est "
              "utilisé.");

    const DmxSettingsRead rounded = readDmxSettings(Profile::parse("[DMX]\r\nCanal=12.5\r\n"));
    EXPECT_EQ(rounded.settings.firstChannel, 12);
    EXPECT_EQ(rounded.notes.size(), 1u);
}

TEST(DmxSettingsTest, WritingKeepsEveryOtherLine) {
    const std::string before = "; notes\r\n[Port]\r\nCOM=3\r\n[DMX]\r\nActif=0\r\nAutre=x\r\n";
    Profile profile = Profile::parse(before);
    const DmxSettings settings{true, 42, 17, 99};
    writeDmxSettings(profile, settings);
    EXPECT_EQ(profile.serialize(),
              "; notes\r\n[Port]\r\nCOM=3\r\n[DMX]\r\nActif=1\r\nAutre=x\r\nUnivers=42\r\n"
              "Canal=17\r\nNiveau=99\r\n");
    EXPECT_EQ(readDmxSettings(profile).settings, settings);
}

}  // namespace
}  // namespace lumiere
