// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/program_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>

#include "folders/shipped_files.h"
#include "text/cp1252.h"
#include "text/french.h"

namespace lumiere::folders {
namespace {

constexpr unsigned kPrivateFolder = 0700;  // what XDG asks for the folders it creates

std::string reason(int errnum) {
    return toUtf8(describeError(errnum));
}

std::string inQuotes(const std::string& path) {
    return "« " + path + " »";
}

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isRegular(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Whether a file can be made in `folder`: a test file, removed at once.
bool canWriteIn(const std::string& folder) {
    std::string name = folder + "/.lumiere-essai-XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(name.c_str());
    return true;
}

// mkdir -p: creates the missing folders of `path`, from the top. 0 or an errno value.
int makeFolders(const std::string& path, const Environment& env) {
    for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        const std::string part = path.substr(0, end);
        struct stat st {};
        if (::stat(part.c_str(), &st) == 0) {
            if (!S_ISDIR(st.st_mode)) return ENOTDIR;
        } else if (errno != ENOENT) {
            return errno;
        } else if (const int err = env.makeFolder(part, kPrivateFolder);
                   err != 0 && !(err == EEXIST && isFolder(part))) {
            return err;
        }
        if (end == std::string::npos) return 0;
    }
}

ProgramFolder explicitFolder(const std::string& given) {
    ProgramFolder result;
    result.kind = FolderKind::Explicit;
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(given, ec);
    result.path = ec ? given : absolute.lexically_normal().string();
    if (result.path.size() > 1 && result.path.back() == '/') result.path.pop_back();
    struct stat st {};
    if (::stat(result.path.c_str(), &st) != 0) {
        result.error = errno == ENOENT
                           ? "Le dossier " + inQuotes(result.path) +
                                 " n’existe pas (option --dossier) : créez-le d’abord."
                           : "Le dossier " + inQuotes(result.path) +
                                 " est inaccessible (option --dossier) : " + reason(errno) + ".";
    } else if (!S_ISDIR(st.st_mode)) {
        result.error = inQuotes(result.path) + " n’est pas un dossier (option --dossier).";
    } else if (!isRegular(result.path + "/param.ini")) {
        // A folder without the program's files: usable if the program can write its files there
        // (param.ini at the first "Enregistrer", cycles); otherwise of no use at all (/proc).
        if (!canWriteIn(result.path)) {
            result.error = "Le dossier " + inQuotes(result.path) +
                           " n’a pas de param.ini et Lumière ne peut rien y écrire (option "
                           "--dossier) : donnez le dossier du programme, celui de param.ini, ou "
                           "un dossier où vous pouvez écrire.";
        } else {
            result.notices.push_back(
                "Le dossier " + inQuotes(result.path) +
                " n’a pas de param.ini : Lumière démarre avec ses réglages par défaut (aucun "
                "port série) et le crée au premier « Enregistrer » de Fichier > Paramètres.");
        }
    }
    return result;
}

}  // namespace

int makeOneFolder(const std::string& path, unsigned mode) {
    return ::mkdir(path.c_str(), static_cast<mode_t>(mode)) == 0 ? 0 : errno;
}

Environment currentEnvironment() {
    Environment env;
    char exe[PATH_MAX];
    if (const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1); n > 0) {
        env.exeDir = std::filesystem::path(std::string(exe, static_cast<std::size_t>(n)))
                         .parent_path()
                         .string();
    }
    if (const char* xdg = std::getenv("XDG_DATA_HOME")) env.xdgDataHome = xdg;
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        env.home = home;
    } else if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr) {
        env.home = entry->pw_dir;
    }
    return env;
}

std::string shippedFolder(const std::string& exeDir) {
    return (std::filesystem::path(exeDir) / ".." / "share" / "lumiere").lexically_normal();
}

ProgramFolder resolveProgramFolder(const Environment& env, const std::string& explicitFolderArg) {
    if (!explicitFolderArg.empty()) return explicitFolder(explicitFolderArg);

    ProgramFolder result;
    if (!env.exeDir.empty() && isRegular(env.exeDir + "/param.ini")) {
        result.kind = FolderKind::Portable;
        result.path = env.exeDir;
        return result;
    }

    result.kind = FolderKind::User;
    // XDG: a relative $XDG_DATA_HOME is invalid and must be ignored.
    std::string dataHome;
    if (!env.xdgDataHome.empty() && env.xdgDataHome[0] == '/') {
        dataHome = env.xdgDataHome;
    } else if (!env.home.empty() && env.home[0] == '/') {
        dataHome = env.home + "/.local/share";
    } else {
        result.error =
            "Dossier personnel inconnu (HOME n’est pas défini) : indiquez le dossier du "
            "programme avec --dossier DOSSIER.";
        return result;
    }
    while (dataHome.size() > 1 && dataHome.back() == '/') dataHome.pop_back();
    result.path = dataHome + "/lumiere";
    if (const int err = makeFolders(result.path, env); err != 0) {
        result.error = "Impossible de créer le dossier du programme " + inQuotes(result.path) +
                       " : " + reason(err) + ". Indiquez un autre dossier avec --dossier DOSSIER.";
        return result;
    }

    const std::string shipped = shippedFolder(env.exeDir);
    if (!isFolder(shipped)) {
        result.notices.push_back("Les fichiers livrés avec Lumière sont introuvables (" +
                                 inQuotes(shipped) + ") : le dossier " + inQuotes(result.path) +
                                 " n’en reçoit pas. Réinstallez Lumière.");
        return result;
    }
    FillResult filled = copyMissingFiles(shipped, result.path);
    result.copied = std::move(filled.copied);
    result.notices = std::move(filled.notices);
    return result;
}

}  // namespace lumiere::folders
