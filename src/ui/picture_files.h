// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pictures read from files for the windows. Only a regular file is read (a pipe or a device named
// like a picture never blocks the window), at most kMaxPictureBytes of it, and a picture with
// more pixels than kMaxPicturePixels is refused from its header before it is decoded: a decoded
// picture at the limit takes about 25 ms here, anything larger would hold the window longer.
//
// A picture decoded once is kept while its file stays the same (same device, inode, size and
// modification time): the knob faces are asked for at every click, and a file the user replaces
// is read again at its next use.

#include <cstddef>
#include <map>
#include <string>

#include "model/platform.h"

namespace lumiere::ui {

inline constexpr std::size_t kMaxPictureBytes = 8 * 1024 * 1024;
inline constexpr long long kMaxPicturePixels = 2'500'000;  // 1920 × 1200 fits

class PictureFiles {
public:
    PictureLoad load(const std::string& path);

private:
    struct Identity {
        unsigned long long device = 0, inode = 0;
        long long size = 0, modified = 0;
        bool operator==(const Identity&) const = default;
    };
    struct Entry {
        Identity identity;
        Picture picture;
    };
    static constexpr std::size_t kKept = 32;  // far more than the program's own pictures

    std::map<std::string, Entry> kept_;
};

}  // namespace lumiere::ui
