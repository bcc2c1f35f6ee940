// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The QR code of the page's address for the dialog (libqrencode): a square of modules, dark or
// light, without the quiet zone around it (the painter adds it).

#include <optional>
#include <string_view>
#include <vector>

namespace lumiere {

struct QrMatrix {
    int size = 0;            // modules per side
    std::vector<bool> dark;  // row by row
    bool at(int x, int y) const { return dark[static_cast<std::size_t>(y * size + x)]; }
};

// Nothing when the text is empty or too long for a QR code.
std::optional<QrMatrix> qrCode(std::string_view text);

}  // namespace lumiere
