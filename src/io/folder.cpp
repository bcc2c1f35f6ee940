// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/folder.h"

#include <dirent.h>

#include <algorithm>
#include <memory>

namespace lumiere {
namespace {

char folded(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return folded(x) == folded(y); });
}

std::vector<std::string> entriesNamedIgnoringCase(const std::string& folder,
                                                  std::string_view name) {
    std::vector<std::string> found;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return found;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view entryName = entry->d_name;
        if (!sameNameIgnoringCase(entryName, name)) continue;
        if (entryName == name)
            found.emplace(found.begin(), entryName);
        else
            found.emplace_back(entryName);
    }
    return found;
}

}  // namespace lumiere
