// SPDX-License-Identifier: GPL-3.0-or-later
#include "dmx/dmx_settings.h"

#include <algorithm>
#include <cmath>

#include "option/section_reader.h"
#include "settings/profile.h"
#include "text/cp1252.h"
#include "text/number.h"

namespace lumiere {
namespace {

constexpr std::string_view kSection = "DMX";
constexpr std::size_t kShown = 20;  // characters of a refused value quoted back

struct FieldRule {
    const char* key;
    int min;
    int max;
    const char* noun;     // "numéro d’univers", after "n’est pas un"
    const char* article;  // "l’univers ", before the value actually used
    const char* hint;     // said after the range in a refusal
};

const FieldRule& ruleOf(DmxField field) {
    static constexpr FieldRule kUniverse{"Univers",    1, kMaxUniverse, "numéro d’univers",
                                         "l’univers ", ""};
    static constexpr FieldRule kChannel{
        "Canal",          1,
        kMaxFirstChannel, "premier canal",
        "le canal ",      " (les 8 lampes occupent ce canal et les 7 suivants, 512 au plus)"};
    static constexpr FieldRule kLevel{
        "Niveau", 1, kMaxLevel, "niveau", "le niveau ", " (la valeur d’une lampe allumée)"};
    switch (field) {
        case DmxField::Universe:
            return kUniverse;
        case DmxField::FirstChannel:
            return kChannel;
        case DmxField::Level:
            return kLevel;
    }
    return kUniverse;
}

int& member(DmxSettings& settings, DmxField field) {
    switch (field) {
        case DmxField::Universe:
            return settings.universe;
        case DmxField::FirstChannel:
            return settings.firstChannel;
        case DmxField::Level:
            return settings.level;
    }
    return settings.universe;
}

std::string shown(std::string_view text) {
    if (text.size() <= kShown) return std::string(text);
    return std::string(text.substr(0, kShown)) + fromUtf8("…");
}

std::string range(const FieldRule& rule) {
    return std::to_string(rule.min) + fromUtf8(" à ") + std::to_string(rule.max);
}

}  // namespace

DmxFieldCheck checkDmxField(DmxField field, std::string_view typed) {
    const FieldRule& rule = ruleOf(field);
    const auto number = parseWholeNumber(typed);
    if (number && *number == std::floor(*number) && *number >= rule.min && *number <= rule.max) {
        return {static_cast<int>(*number), {}};
    }
    return {std::nullopt, fromUtf8("« ") + shown(typed) + fromUtf8(" » n’est pas un ") +
                              fromUtf8(rule.noun) +
                              fromUtf8(" possible : tapez un nombre entier de ") + range(rule) +
                              fromUtf8(rule.hint) + fromUtf8(". Rien n’a été enregistré.")};
}

DmxSettingsRead readDmxSettings(const Profile& profile) {
    DmxSettingsRead read;
    SectionReader section(profile, kSection);
    read.settings.enabled = section.flag("Actif", false, "la sortie DMX reste arrêtée.");
    for (const DmxField field : {DmxField::Universe, DmxField::FirstChannel, DmxField::Level}) {
        const FieldRule& rule = ruleOf(field);
        int& value = member(read.settings, field);
        value = section.number(rule.key, {rule.min, rule.max}, value, rule.article);
    }
    read.notes = section.notes();
    return read;
}

void writeDmxSettings(Profile& profile, const DmxSettings& settings) {
    profile.write(kSection, "Actif", settings.enabled ? "1" : "0");
    profile.write(kSection, "Univers", std::to_string(settings.universe));
    profile.write(kSection, "Canal", std::to_string(settings.firstChannel));
    profile.write(kSection, "Niveau", std::to_string(settings.level));
}

std::string describeDmxPatch(const DmxSettings& settings) {
    return "univers " + std::to_string(settings.universe) + ", canaux " +
           std::to_string(settings.firstChannel) + fromUtf8(" à ") +
           std::to_string(settings.firstChannel + kDmxLamps - 1);
}

}  // namespace lumiere
