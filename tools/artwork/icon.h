// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

namespace lumiere::artwork {

// The application icon, `size`×`size` with a transparent surround: a square plate of the desk's
// dark brushed metal holding one large lit lamp and, below it, the controller's eight lamps.
// Painted in the desk's colours; the same pixels on every call.
QImage appIcon(int size);

}  // namespace lumiere::artwork
