// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The QR code of an address as a picture for the dialog: black modules on white, `scale` pixels
// each, with the four-module quiet zone readers need. A null image when the text cannot be coded.

#include <QImage>
#include <string_view>

namespace lumiere {

QImage qrImage(std::string_view text, int scale = 4);

}  // namespace lumiere
