// SPDX-License-Identifier: GPL-3.0-or-later
#include "dmx/dmx_option.h"

#include "model/form1.h"
#include "settings/profile.h"
#include "text/cp1252.h"
#include "text/french.h"

namespace lumiere {
namespace {

constexpr const char* kLacksOla =
    "Sortie DMX : cette version de Lumière a été construite sans OLA ; les lampes ne vont pas "
    "vers OLA.";

}  // namespace

DmxOption::DmxOption(DmxConnector connector, OptionContext& context)
    : connector_(std::move(connector)), context_(context) {
    showSettings(DmxSettings{});
    dialog_.state = fromUtf8(connector_ ? "Sortie DMX : arrêtée." : kLacksOla);
    context_.show.addMirror(*this);
}

DmxOption::~DmxOption() = default;

void DmxOption::showSettings(const DmxSettings& settings) {
    dialog_.enabled = settings.enabled;
    dialog_.universe = std::to_string(settings.universe);
    dialog_.channel = std::to_string(settings.firstChannel);
    dialog_.level = std::to_string(settings.level);
}

void DmxOption::load(const Profile& profile) {
    const DmxSettingsRead read = readDmxSettings(profile);
    for (const std::string& note : read.notes) context_.form.status.note(note);
    showSettings(read.settings);
    apply(read.settings);
}

void DmxOption::apply(const DmxSettings& settings) {
    if (output_) {
        output_->apply(settings);
    } else if (settings.enabled && connector_) {
        output_ = std::make_unique<DmxOutput>(connector_(), settings);
    } else if (settings.enabled) {
        context_.form.status.note(fromUtf8(kLacksOla));
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

    const int err = updateProfile(context_.profilePath,
                                  [&](Profile& profile) { writeDmxSettings(profile, settings); });
    apply(settings);
    showSettings(settings);
    dialog_.message = savedOrForThisSession(err);
    dialog_.saved = err == 0;
}

void DmxOption::poll() {
    if (!output_) return;
    dialog_.state = output_->status().text;
    if (const auto notice = output_->takeNotice()) context_.form.status.note(*notice);
}

void DmxOption::shutdown() {
    if (output_) output_->shutdown();
}

OptionFactory makeDmxOption(DmxConnector connector) {
    return [connector = std::move(connector)](OptionContext& context) {
        return std::make_unique<DmxOption>(connector, context);
    };
}

}  // namespace lumiere
