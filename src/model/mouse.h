// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lumiere {

// Mouse button codes as the handlers receive them.
namespace mouse {
inline constexpr int kLeft = 1;
inline constexpr int kRight = 2;
inline constexpr int kMiddle = 4;
}  // namespace mouse

}  // namespace lumiere
