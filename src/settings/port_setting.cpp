// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/port_setting.h"

#include <cstdint>
#include <limits>

#include "settings/profile.h"
#include "text/cp1252.h"
#include "text/number.h"
#include "text/trim.h"

namespace lumiere {

std::string portText(const Profile& profile) {
    return profile.read("Port", "COM", kPortTextLimit);
}

std::string pictureName(const Profile& profile) {
    constexpr std::size_t kWholeValue = 4096;
    return decodeFileText(profile.read("Table", "valeur", kWholeValue))
        .substr(0, kPictureNameLimit);
}

std::string chosenDevice(const Profile& profile) {
    constexpr std::size_t kWholePath = 4096;
    return std::string(trim(profile.read("Port", "Peripherique", kWholePath), kSpacesAndTabs));
}

void writeChosenDevice(Profile& profile, const std::string& path) {
    if (path.empty())
        profile.remove("Port", "Peripherique");
    else
        profile.write("Port", "Peripherique", path);
}

int startupPortNumber(std::string_view text) {
    const double n = roundHalfEven(readNumber(trim(text, kSpaces)));
    if (!(n >= std::numeric_limits<std::int16_t>::min() &&
          n <= std::numeric_limits<std::int16_t>::max())) {
        return 0;
    }
    return static_cast<int>(n);
}

}  // namespace lumiere
