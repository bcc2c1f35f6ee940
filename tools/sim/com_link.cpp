// SPDX-License-Identifier: GPL-3.0-or-later
#include "com_link.h"

#include "io/folder.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace lumiere::sim {

namespace {

// The target of the symbolic link at `path`; empty when it is not a readable link.
std::string linkTarget(const std::string& path) {
    std::string target(4096, '\0');
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length < 0 || static_cast<std::size_t>(length) >= target.size()) return {};
    target.resize(static_cast<std::size_t>(length));
    return target;
}

}  // namespace

ComLink::ComLink(std::string folder, std::string name, std::string target)
    : folder_(std::move(folder)), name_(std::move(name)), target_(std::move(target)) {}

ComLink::Outcome ComLink::create(std::string& error) {
    const std::string finalPath = path();
    struct stat existing {};
    bool replacing = false;
    if (::lstat(finalPath.c_str(), &existing) == 0) {
        if (!S_ISLNK(existing.st_mode)) {
            error = "« " + finalPath +
                    " » existe déjà et n'est pas un lien symbolique : il est laissé tel quel. "
                    "Supprimez-le ou choisissez un autre port avec --port.";
            return Outcome::Refused;
        }
        replacing = true;
    } else if (errno != ENOENT) {
        error = "impossible d'examiner « " + finalPath + " » : " + std::strerror(errno);
        return Outcome::Failed;
    }

    // Build the link under a private name, then rename it over the final one.
    const std::string temporary =
        folder_ + "/." + name_ + ".lumiere-sim." + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(target_.c_str(), temporary.c_str()) != 0) {
        error = "impossible de créer le lien dans « " + folder_ + " » : " + std::strerror(errno);
        return Outcome::Failed;
    }
    if (::rename(temporary.c_str(), finalPath.c_str()) != 0) {
        error = "impossible de créer « " + finalPath + " » : " + std::strerror(errno);
        ::unlink(temporary.c_str());
        return Outcome::Failed;
    }
    return replacing ? Outcome::Replaced : Outcome::Created;
}

bool ComLink::removeIfOurs() const {
    const std::string finalPath = path();
    if (linkTarget(finalPath) != target_) return false;
    return ::unlink(finalPath.c_str()) == 0;
}

std::vector<std::string> ComLink::namesDifferingInCase() const {
    std::vector<std::string> names = entriesNamedIgnoringCase(folder_, name_);
    std::erase(names, name_);
    std::ranges::sort(names);
    return names;
}

}  // namespace lumiere::sim
