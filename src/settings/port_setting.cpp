#include "settings/port_setting.h"

#include <cstdint>
#include <limits>

#include "settings/profile.h"
#include "text/lines.h"
#include "text/number.h"

namespace lumiere {

std::string portText(const Profile& profile) {
    return profile.read("Port", "COM", kPortTextLimit);
}

int startupPortNumber(std::string_view text) {
    const double n = roundHalfEven(readNumber(trimSpaces(text)));
    if (!(n >= std::numeric_limits<std::int16_t>::min() &&
          n <= std::numeric_limits<std::int16_t>::max())) {
        return 0;
    }
    return static_cast<int>(n);
}

}  // namespace lumiere
