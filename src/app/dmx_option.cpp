// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dmx_option.h"

#include "dmx/ola_connection.h"
#include "settings/profile.h"
#include "text/cp1252.h"
#include "text/french.h"

namespace lumiere {

std::unique_ptr<DmxConnection> connectToOla() {
    return std::make_unique<OlaConnection>();
}

DmxOption::DmxOption(DmxConnector connector, std::string profilePath)
    : connector_(std::move(connector)), profilePath_(std::move(profilePath)) {
    showSettings(DmxSettings{});
    dialog_.state = fromUtf8("Sortie DMX : arrêtée.");
}

DmxOption::~DmxOption() = default;

void DmxOption::showSettings(const DmxSettings& settings) {
    dialog_.enabled = settings.enabled;
    dialog_.universe = std::to_string(settings.universe);
    dialog_.channel = std::to_string(settings.firstChannel);
    dialog_.level = std::to_string(settings.level);
}

void DmxOption::load(const Profile& profile, StatusBar& status) {
    const DmxSettingsRead read = readDmxSettings(profile);
    for (const std::string& note : read.notes) status.note(note);
    showSettings(read.settings);
    apply(read.settings);
}

void DmxOption::apply(const DmxSettings& settings) {
    if (output_) {
        output_->apply(settings);
    } else if (settings.enabled) {
        output_ = std::make_unique<DmxOutput>(connector_(), settings);
    }
}

void DmxOption::lamps(std::uint8_t byte) {
    if (output_) output_->send(byte);
}

void DmxOption::clearMessage() {
    dialog_.message.clear();
    dialog_.saved = false;
}

void DmxOption::show() {
    clearMessage();
    dialog_.visible = true;
}

void DmxOption::close() {
    clearMessage();
    dialog_.visible = false;
}

void DmxOption::save() {
    DmxSettings settings;
    settings.enabled = dialog_.enabled;
    const std::pair<DmxField, const std::string*> fields[] = {
        {DmxField::Universe, &dialog_.universe},
        {DmxField::FirstChannel, &dialog_.channel},
        {DmxField::Level, &dialog_.level}};
    for (const auto& [field, text] : fields) {
        const DmxFieldCheck check = checkDmxField(field, *text);
        if (!check.value) {
            dialog_.message = check.refusal;
            dialog_.saved = false;
            return;
        }
        if (field == DmxField::Universe) settings.universe = *check.value;
        if (field == DmxField::FirstChannel) settings.firstChannel = *check.value;
        if (field == DmxField::Level) settings.level = *check.value;
    }

    const int err =
        updateProfile(profilePath_, [&](Profile& profile) { writeDmxSettings(profile, settings); });
    apply(settings);
    showSettings(settings);
    dialog_.message = savedOrForThisSession(err);
    dialog_.saved = err == 0;
}

void DmxOption::poll(StatusBar& status) {
    if (!output_) return;
    dialog_.state = output_->status().text;
    if (const auto notice = output_->takeNotice()) status.note(*notice);
}

void DmxOption::shutdown() {
    if (output_) output_->shutdown();
}

}  // namespace lumiere
