// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/command_line.h"

#include <algorithm>
#include <array>
#include <ostream>

#ifndef LUMIERE_VERSION
#error "LUMIERE_VERSION comes from the CMake project version"
#endif

namespace lumiere::folders {
namespace {

// The options QGuiApplication, QApplication and the platform plugins read, without their dash.
constexpr std::array kQtOptionsWithValue = {"platform",        "platformpluginpath",
                                            "platformtheme",   "plugin",
                                            "qwindowgeometry", "geometry",
                                            "qwindowicon",     "icon",
                                            "qwindowtitle",    "title",
                                            "display",         "name",
                                            "session",         "style",
                                            "stylesheet",      "visual"};
constexpr std::array kQtFlags = {"reverse", "widgetcount", "nograb",       "dograb",
                                 "sync",    "testability", "qmljsdebugger"};

bool listed(const auto& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The name of a Qt option as Qt reads it: one or two dashes, "=value" allowed.
std::string_view qtName(std::string_view arg) {
    arg.remove_prefix(arg.rfind("--", 0) == 0 ? 2 : 1);
    return arg.substr(0, arg.find('='));
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    if (!args.empty()) line.qtArguments.push_back(args.front());
    for (std::size_t i = 1; i < args.size() && line.ok(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--dossier" || arg == "--folder") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                line.error = "l’option " + arg + " demande un dossier.";
            } else {
                line.folder = args[++i];
            }
        } else if (arg.rfind("--dossier=", 0) == 0 || arg.rfind("--folder=", 0) == 0) {
            line.folder = arg.substr(arg.find('=') + 1);
            if (line.folder.empty()) line.error = "l’option --dossier demande un dossier.";
        } else if (arg == "--help" || arg == "-h" || arg == "--aide") {
            line.help = true;
        } else if (arg == "--version" || arg == "-v") {
            line.version = true;
        } else if (arg.size() > 1 && arg[0] == '-' && listed(kQtOptionsWithValue, qtName(arg))) {
            line.qtArguments.push_back(arg);
            const bool valueFollows = arg.find('=') == std::string::npos;
            if (valueFollows && i + 1 < args.size()) line.qtArguments.push_back(args[++i]);
        } else if (arg.size() > 1 && arg[0] == '-' && listed(kQtFlags, qtName(arg))) {
            line.qtArguments.push_back(arg);
        } else if (arg.size() > 1 && arg[0] == '-') {
            line.error = "option inconnue « " + arg + " ».";
        } else {
            line.error = "argument inattendu « " + arg + " ».";
        }
    }
    return line;
}

std::string helpText(std::string_view programName) {
    const std::string name(programName);
    return "Usage : " + name +
           " [--dossier DOSSIER] [options de Qt]\n"
           "Lumière, jeu de lumière commandé par PC : pilote un boîtier de 8 lampes sur un port "
           "série.\n"
           "\n"
           "  --dossier DOSSIER  dossier du programme : param.ini, animations, séquences, cycles,\n"
           "                     images (le dossier doit exister)\n"
           "  -h, --help         affiche cette aide\n"
           "  -v, --version      affiche la version\n"
           "\n"
           "Sans --dossier, le dossier du programme est celui de l’exécutable quand param.ini s’y\n"
           "trouve ; sinon c’est ~/.local/share/lumiere ($XDG_DATA_HOME/lumiere), créé au "
           "premier\n"
           "lancement avec les fichiers livrés. Vos modifications n’y sont jamais écrasées.\n"
           "Les options de Qt (-platform, -style, -geometry …) sont transmises à Qt.\n";
}

std::string versionText(std::string_view programName) {
    // As GNU programs say it: the name and version, the copyright, the licence, no warranty.
    return std::string(programName) +
           " (Lumière) " LUMIERE_VERSION
           "\n"
           "Copyright © 2026 L’équipe Lumière\n"
           "Licence GPLv3+ : GNU GPL version 3 ou ultérieure <https://gnu.org/licenses/gpl.html>\n"
           "Ceci est un logiciel libre : vous êtes libre de le modifier et de le redistribuer.\n"
           "Il n’y a AUCUNE GARANTIE, dans les limites permises par la loi.\n";
}

std::optional<int> answerCommandLine(const CommandLine& line, std::string_view programName,
                                     std::ostream& out, std::ostream& err) {
    if (!line.ok()) {
        err << programName << " : " << line.error << "\nEssayez « " << programName
            << " --help ».\n";
        return kExitUsage;
    }
    if (line.help) {
        out << helpText(programName);
        return 0;
    }
    if (line.version) {
        out << versionText(programName);
        return 0;
    }
    return std::nullopt;
}

ArgumentVector::ArgumentVector(std::vector<std::string> args)
    : strings_(std::move(args)), argc_(static_cast<int>(strings_.size())) {
    for (std::string& s : strings_) pointers_.push_back(s.data());
    pointers_.push_back(nullptr);
}

}  // namespace lumiere::folders
