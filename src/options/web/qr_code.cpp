// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/qr_code.h"

#include <qrencode.h>

#include <memory>
#include <string>

namespace lumiere {

std::optional<QrMatrix> qrCode(std::string_view text) {
    if (text.empty()) return std::nullopt;
    const std::string zeroTerminated(text);
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString8bit(zeroTerminated.c_str(), 0, QR_ECLEVEL_M), &QRcode_free);
    if (!code) return std::nullopt;
    QrMatrix matrix;
    matrix.size = code->width;
    matrix.dark.resize(static_cast<std::size_t>(code->width) * code->width);
    for (std::size_t i = 0; i < matrix.dark.size(); ++i) matrix.dark[i] = code->data[i] & 1;
    return matrix;
}

}  // namespace lumiere
