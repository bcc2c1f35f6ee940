// SPDX-License-Identifier: GPL-3.0-or-later
// How an option reads its section of param.ini: what is usable as written is used silently,
// anything else gives the default or the nearest value and one note that says which.

#include "option/section_reader.h"

#include <gtest/gtest.h>

#include "settings/profile.h"
#include "text/cp1252.h"

namespace lumiere {
namespace {

TEST(SectionReader, UsableValuesAreReadSilentlyAndMissingOnesTakeTheirDefault) {
    const Profile profile =
        Profile::parse("[Autre]\r\nActif=1\r\n[web]\r\nactif=1\r\nPort= 8081 \r\nCode=\t 123 \r\n");
    SectionReader web(profile, "Web");
    EXPECT_TRUE(web.flag("Actif", false, "rien"));
    EXPECT_FALSE(web.flag("Reseau", false, "rien"));
    EXPECT_EQ(web.number("Port", {1024, 65535}, 8080, "le port "), 8081);
    EXPECT_EQ(web.number("Absent", {1, 10}, 5, "le niveau "), 5);
    EXPECT_EQ(web.text("Code", 64), "123");
    EXPECT_TRUE(web.notes().empty());
}

TEST(SectionReader, EachValueNotUsableAsWrittenIsCorrectedAndSaidOnce) {
    const Profile profile = Profile::parse(
        "[Musique]\r\nActif=oui\r\nSensibilite=42\r\nNiveau=7.5\r\nCanal=abc\r\nLong=" +
        std::string(100, '9') + "\r\n");
    SectionReader section(profile, "Musique");
    EXPECT_TRUE(section.flag("Actif", true, "la musique n’est pas suivie."));
    EXPECT_EQ(section.number("Sensibilite", {1, 10}, 5, "la sensibilité ", true), 10);
    EXPECT_EQ(section.number("Niveau", {1, 255}, 255, "le niveau "), 8);  // half to even
    EXPECT_EQ(section.number("Canal", {1, 505}, 1, "le canal "), 1);
    EXPECT_EQ(section.number("Long", {1, 9}, 1, "le nombre "), 9);
    ASSERT_EQ(section.notes().size(), 5u);
    EXPECT_EQ(toUtf8(section.notes()[0]),
              "param.ini, section [Musique] : Actif=oui n’est ni 0 ni 1 ; la musique n’est pas "
              "suivie.");
    EXPECT_EQ(toUtf8(section.notes()[1]),
              "param.ini, section [Musique] : Sensibilite=42 n’est pas un nombre entier de 1 à "
              "10 ; la sensibilité 10 est utilisée.");
    EXPECT_EQ(toUtf8(section.notes()[3]),
              "param.ini, section [Musique] : Canal=abc n’est pas un nombre ; le canal 1 est "
              "utilisé.");
    // A pasted value is quoted back cut short.
    EXPECT_NE(toUtf8(section.notes()[4]).find("Long=99999999999999999999… n’est"),
              std::string::npos);
}

}  // namespace
}  // namespace lumiere
