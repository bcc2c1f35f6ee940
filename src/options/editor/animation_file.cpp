// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/animation_file.h"

#include <sys/stat.h>

#include <cerrno>

#include "io/text_file.h"
#include "text/cp1252.h"
#include "text/french.h"

namespace lumiere {
namespace {

std::int64_t modifiedNs(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return 0;
    return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
}

DiskState stateOf(const std::string& path, std::string_view bytes) {
    return {true, bytes.size(), modifiedNs(path), contentHash(bytes)};
}

}  // namespace

std::uint64_t contentHash(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a, 64 bits
    for (char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

FileRead readAnimationFile(const std::string& path) {
    FileRead read;
    read.error = readFileBytes(path, kMaxReadBytes, read.bytes);
    if (read.error == ENOENT) {
        read.error = 0;
        read.bytes.clear();
        return read;
    }
    if (read.error != 0) {
        read.bytes.clear();
        return read;
    }
    read.disk = stateOf(path, read.bytes);
    return read;
}

int writeAnimationFile(const std::string& path, std::string_view bytes, DiskState& disk) {
    if (const int err = writeFileAtomically(path, bytes); err != 0) return err;
    disk = stateOf(path, bytes);
    return 0;
}

std::string openProblem(const std::string& name, int error) {
    std::string reason = describeError(error);
    if (error == EFBIG) reason += fromUtf8(" (plus de 16 Mo)");
    return fromUtf8(name + " n’a pas été ouvert : ") + reason + ".";
}

std::string saveProblem(const std::string& name, int error) {
    std::string reason = describeError(error);
    if (error == EACCES || error == EPERM) reason += fromUtf8(" (dossier en lecture seule ?)");
    return fromUtf8(name + " n’a pas été enregistré : ") + reason +
           fromUtf8(". Vos modifications sont toujours là.");
}

}  // namespace lumiere
