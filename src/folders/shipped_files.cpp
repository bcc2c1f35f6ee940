// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/shipped_files.h"

#include "io/descriptor.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "text/cp1252.h"
#include "text/french.h"

namespace lumiere::folders {
namespace {

std::vector<std::string> regularFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        struct stat st {};
        if (name.empty() || name[0] == '.') continue;
        if (::stat((folder + "/" + name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

int copyBytes(int from, int to) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got == 0) return 0;
        if (got < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(to, buffer + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno != EINTR) return errno;
            if (put > 0) done += put;
        }
    }
}

// 0 when the file was copied or a file of that name is there already; otherwise an errno value.
int copyIfMissing(const std::string& source, const std::string& target, bool& copied) {
    copied = false;
    const Descriptor from(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (from.get() < 0) return errno;
    std::string temporary = target.substr(0, target.rfind('/') + 1) + ".lumiere-copie-XXXXXX";
    Descriptor to(::mkostemp(temporary.data(), O_CLOEXEC));
    if (to.get() < 0) return errno;
    int err = copyBytes(from.get(), to.get());
    if (err == 0 && ::fchmod(to.get(), 0644) != 0) err = errno;
    if (const int closed = to.close(); err == 0) err = closed;
    if (err == 0 && ::link(temporary.c_str(), target.c_str()) != 0) err = errno;
    ::unlink(temporary.c_str());
    if (err == EEXIST) return 0;  // the user's own file came first: it stays
    copied = err == 0;
    return err;
}

}  // namespace

FillResult copyMissingFiles(const std::string& shipped, const std::string& folder) {
    FillResult result;
    std::vector<std::string> missing;
    for (const std::string& name : regularFiles(shipped)) {
        struct stat st {};
        if (::lstat((folder + "/" + name).c_str(), &st) != 0) missing.push_back(name);
    }
    for (std::size_t i = 0; i < missing.size(); ++i) {
        const std::string& name = missing[i];
        bool copied = false;
        const int err = copyIfMissing(shipped + "/" + name, folder + "/" + name, copied);
        if (copied) result.copied.push_back(name);
        if (err == 0) continue;
        // What stopped this copy (a full disk, a folder made read-only) stops the others too:
        // say it once.
        std::string notice = "Impossible de copier « " + name + " » dans « " + folder +
                             " » : " + toUtf8(describeError(err)) + ".";
        if (const std::size_t left = missing.size() - i - 1; left > 0) {
            notice += " " + std::to_string(left) +
                      (left == 1 ? " autre fichier livré n’a pas été copié non plus."
                                 : " autres fichiers livrés n’ont pas été copiés non plus.");
        }
        result.notices.push_back(notice);
        break;
    }
    return result;
}

}  // namespace lumiere::folders
