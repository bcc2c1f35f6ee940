// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/web_option.h"

#include <dirent.h>

#include <algorithm>
#include <cctype>

#include "model/form1.h"
#include "model/platform.h"
#include "model/values.h"
#include "option/section_reader.h"
#include "playback/show.h"
#include "settings/profile.h"
#include "text/cp1252.h"
#include "text/number.h"
#include "web/pairing.h"

namespace lumiere {
namespace {

constexpr std::string_view kSection = "Web";
constexpr int kMaxPort = 65535;

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) names.emplace_back(entry->d_name);
        ::closedir(dir);
    }
    return names;
}

void writeSettings(Profile& profile, const WebSettings& settings) {
    profile.write(kSection, "Actif", settings.enabled ? "1" : "0");
    profile.write(kSection, "Port", std::to_string(settings.port));
    profile.write(kSection, "Reseau", settings.network ? "1" : "0");
    profile.write(kSection, "Code", settings.code);
}

}  // namespace

std::vector<std::string> sequenceFiles(const std::vector<std::string>& names) {
    std::vector<std::string> files;
    for (const std::string& name : names) {
        const std::string low = lower(name);
        if (low.size() <= 4 || low.compare(low.size() - 4, 4, ".txt") != 0) continue;
        if (low == "animation1.txt" || low == "animation2.txt" || low == "animation3.txt") continue;
        if (low.rfind("cycle", 0) == 0) continue;
        files.push_back(name);
    }
    std::sort(files.begin(), files.end());
    return files;
}

WebOption::WebOption(OptionContext& context) : context_(context) {
    dialog_.port = std::to_string(settings_.port);
}

void WebOption::load(const Profile& profile) {
    SectionReader section(profile, kSection);
    settings_.enabled = section.flag("Actif", false, "la télécommande web reste arrêtée.");
    settings_.port = section.number("Port", {1, kMaxPort}, settings_.port, "le port ");
    settings_.network = section.flag("Reseau", false, "elle n’écoute que sur 127.0.0.1.");
    settings_.code = section.text("Code", 64);
    for (const std::string& note : section.notes()) context_.form.status.note(note);
    dialog_.enabled = settings_.enabled;
    dialog_.network = settings_.network;
    dialog_.port = std::to_string(settings_.port);
    if (settings_.enabled && !isValidCode(settings_.code)) {
        if (const int err = keepCode(); err != 0) {
            context_.form.status.note(fromUtf8("Télécommande web : le code n’a pas été gardé, ") +
                                      profileNotSaved(err));
        }
    }
    listSequences();
}

int WebOption::keepCode() {
    settings_.code = randomCode();
    return updateProfile(context_.profilePath, [&](Profile& profile) {
        profile.write(kSection, "Code", settings_.code);
    });
}

void WebOption::show() {
    dialog_.message.clear();
    dialog_.saved = false;
    dialog_.visible = true;
    listSequences();
}

void WebOption::close() {
    dialog_.message.clear();
    dialog_.saved = false;
    dialog_.visible = false;
}

void WebOption::poll() {
    listSequences();
}

void WebOption::listSequences() {
    files_ = sequenceFiles(folderEntries(context_.platform.programFolder()));
    sequences_.clear();
    for (const std::string& name : files_) {
        // A name that is not UTF-8 was written by another system: shown as Windows-1252.
        sequences_.push_back(utf8ToCp1252(name) ? name : toUtf8(name));
    }
}

void WebOption::save() {
    const auto port = parseWholeNumber(dialog_.port);
    if (!port || *port != static_cast<int>(*port) || *port < 1 || *port > kMaxPort) {
        dialog_.message = fromUtf8("« ") + dialog_.port.substr(0, 20) +
                          fromUtf8(
                              " » n’est pas un port possible : tapez un nombre entier de 1 à "
                              "65535 (8080 par défaut). Rien n’a été enregistré.");
        dialog_.saved = false;
        return;
    }
    WebSettings wanted = settings_;
    wanted.enabled = dialog_.enabled;
    wanted.network = dialog_.network;
    wanted.port = static_cast<int>(*port);
    if (!isValidCode(wanted.code)) wanted.code = randomCode();
    const int err = updateProfile(context_.profilePath,
                                  [&](Profile& profile) { writeSettings(profile, wanted); });
    settings_ = wanted;
    dialog_.port = std::to_string(wanted.port);
    dialog_.message = savedOrForThisSession(err);
    dialog_.saved = err == 0;
}

void WebOption::newCode() {
    const int err = keepCode();
    dialog_.message = err == 0
                          ? fromUtf8("Nouveau code : chaque téléphone doit le taper de nouveau.")
                          : fromUtf8("Nouveau code, mais ") + profileNotSaved(err) +
                                fromUtf8(" : il vaut pour cette séance seulement.");
    dialog_.saved = err == 0;
}

RemoteState WebOption::remoteState() const {
    RemoteState state;
    const Form1& form = context_.form;
    for (int i = 0; i < kRemoteLamps; ++i) state.lamps[i] = form.lampe[i].backColor == colour::kRed;
    state.on = context_.values.marche == 1;
    for (int i = 0; i < kRemoteEffects; ++i) state.pressed[i] = form.Command11[i].italic;
    const int master = static_cast<int>(readNumber(context_.values.compteur[8]));
    state.master = std::clamp(master, 0, kRemoteMasterMax);
    state.sequences = sequences_;
    state.sequenceRunning = context_.desk.sequenceRunning();
    const Pulse& pulse = context_.show.pulse();
    state.music = pulse.following;
    state.beats = pulse.beats;
    state.bpm = pulse.bpm;
    if (context_.desk.modalOpen()) {
        state.busy =
            "Une fenêtre est ouverte sur le pupitre : les commandes attendent qu’on la "
            "ferme.";
    }
    return state;
}

std::string WebOption::runRemote(const RemoteCommand& command) {
    if (context_.desk.modalOpen()) return remoteState().busy;
    DeskActions& desk = context_.desk;
    switch (command.kind) {
        case RemoteCommand::Kind::Switch:
            desk.clickSwitch();
            break;
        case RemoteCommand::Kind::Effect:
            if (command.value < 1 || command.value > kRemoteEffects) return "Effet inconnu.";
            desk.clickButton(command.value - 1);
            break;
        case RemoteCommand::Kind::StopAll:
        case RemoteCommand::Kind::StopSequence:
            // On the desk, a sequence is stopped by the right click that stops everything.
            desk.stopAll();
            break;
        case RemoteCommand::Kind::Master:
            desk.moveMaster(command.value);
            break;
        case RemoteCommand::Kind::RunSequence: {
            const auto known = std::find(sequences_.begin(), sequences_.end(), command.name);
            if (known == sequences_.end()) return "Cette séquence n’est plus dans le dossier.";
            const std::string& file = files_[static_cast<std::size_t>(known - sequences_.begin())];
            desk.runSequence(context_.platform.programFolder() + "/" + file);
            break;
        }
    }
    return {};
}

OptionFactory makeWebOption() {
    return [](OptionContext& context) { return std::make_unique<WebOption>(context); };
}

}  // namespace lumiere
