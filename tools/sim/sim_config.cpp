// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim_config.h"

#include "settings/port_setting.h"
#include "settings/profile.h"
#include "text/trim.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace lumiere::sim {

namespace {

std::string_view trimmed(std::string_view text) {
    return trim(text, kWhiteSpace);
}

std::optional<double> parsePositiveSeconds(std::string_view text) {
    text = trimmed(text);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    if (!std::isfinite(value) || value <= 0) return std::nullopt;
    return value;
}

// The options that take a value, under every name they answer to.
enum class ValueOption { Folder, Port, Log, Duration };

std::optional<ValueOption> valueOptionNamed(std::string_view name) {
    if (name == "--dossier" || name == "--folder") return ValueOption::Folder;
    if (name == "--port") return ValueOption::Port;
    if (name == "--log") return ValueOption::Log;
    if (name == "--duree" || name == "--durée" || name == "--duration") {
        return ValueOption::Duration;
    }
    return std::nullopt;
}

// Stores `value` for `option`; returns an error message when the value is unusable.
std::string applyValue(ValueOption option, std::string_view name, std::string_view value,
                       SimOptions& options) {
    switch (option) {
        case ValueOption::Folder:
            if (value.empty()) return "le dossier donné à " + std::string(name) + " est vide";
            options.folder = std::string(value);
            return {};
        case ValueOption::Port:
            options.port = parsePositiveInt(value);
            if (!options.port) {
                return "numéro de port invalide : « " + std::string(value) +
                       " » (entier positif attendu)";
            }
            return {};
        case ValueOption::Log:
            if (value.empty()) return "le fichier donné à --log est vide";
            options.logPath = std::string(value);
            return {};
        case ValueOption::Duration:
            options.durationSeconds = parsePositiveSeconds(value);
            if (!options.durationSeconds) {
                return "durée invalide : « " + std::string(value) +
                       " » (nombre de secondes positif attendu)";
            }
            return {};
    }
    return {};
}

}  // namespace

std::optional<int> parsePositiveInt(std::string_view text) {
    text = trimmed(text);
    if (text.empty() || !std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value <= 0) {
        return std::nullopt;
    }
    return value;
}

int portFromIni(std::string_view text) {
    // Read exactly as Lumière reads it at start-up, so both pick the same COM<N>.
    const int port = startupPortNumber(portText(Profile::parse(text)));
    return port > 0 ? port : kDefaultPort;
}

int portFromIniFile(const std::string& path) {
    // Lumière's own reader: a param.ini that is a pipe or a folder reads as no file.
    Profile profile;
    if (loadProfile(path, profile) != 0) return kDefaultPort;
    const int port = startupPortNumber(portText(profile));
    return port > 0 ? port : kDefaultPort;
}

ParsedArguments parseArguments(const std::vector<std::string>& args) {
    ParsedArguments parsed;
    for (std::size_t i = 0; i < args.size() && parsed.ok(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h" || arg == "--aide") {
            parsed.options.help = true;
            continue;
        }
        if (arg == "--version" || arg == "-v") {
            parsed.options.version = true;
            continue;
        }
        if (arg == "--silencieux" || arg == "--quiet") {
            parsed.options.quiet = true;
            continue;
        }

        const auto equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        const std::optional<ValueOption> option = valueOptionNamed(name);
        if (!option) {
            parsed.error = "option inconnue : « " + std::string(arg) + " »";
        } else if (equals != std::string_view::npos) {
            parsed.error = applyValue(*option, name, arg.substr(equals + 1), parsed.options);
        } else if (i + 1 < args.size()) {
            parsed.error = applyValue(*option, name, args[++i], parsed.options);
        } else {
            parsed.error = "il manque une valeur après " + std::string(name);
        }
    }
    return parsed;
}

std::string usageText(std::string_view programName) {
    const std::string name(programName);
    return "Usage : " + name +
           " [--dossier DOSSIER] [--port N] [--log FICHIER] [--duree SECONDES] [--silencieux]\n"
           "\n"
           "Contrôleur virtuel à 8 lampes : crée un pseudo-terminal, le relie sous le nom\n"
           "COM<N> dans le dossier du programme et affiche les trames reçues de Lumière.\n"
           "\n"
           "  --dossier, --folder DOSSIER  dossier du programme (par défaut celui de " +
           name +
           ")\n"
           "  --port N                     numéro de port (par défaut la clé COM de la section\n"
           "                               [Port] de param.ini, sinon 1)\n"
           "  --log FICHIER                écrit chaque trame : « <ns monotone> <valeur> »\n"
           "  --duree, --duration SECONDES s'arrête de lui-même après ce temps\n"
           "  --silencieux, --quiet        n'affiche pas les lampes en direct\n"
           "  -h, --help                   affiche cette aide\n"
           "  -v, --version                affiche la version et la licence\n";
}

}  // namespace lumiere::sim
