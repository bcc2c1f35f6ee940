// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/qr_image.h"

#include "web/qr_code.h"

namespace lumiere {

QImage qrImage(std::string_view text, int scale) {
    constexpr int kQuiet = 4;
    const auto matrix = qrCode(text);
    if (!matrix || scale < 1) return {};
    const int side = (matrix->size + 2 * kQuiet) * scale;
    QImage image(side, side, QImage::Format_Grayscale8);
    image.fill(255);
    for (int y = 0; y < matrix->size; ++y) {
        for (int x = 0; x < matrix->size; ++x) {
            if (!matrix->at(x, y)) continue;
            for (int dy = 0; dy < scale; ++dy) {
                uchar* line = image.scanLine((y + kQuiet) * scale + dy);
                for (int dx = 0; dx < scale; ++dx) line[(x + kQuiet) * scale + dx] = 0;
            }
        }
    }
    return image;
}

}  // namespace lumiere
