// SPDX-License-Identifier: GPL-3.0-or-later
// A build without OLA: no connection to olad, and the option says so.
#include "dmx/ola_connection.h"

namespace lumiere {

DmxConnector olaConnector(std::uint16_t) {
    return {};
}

}  // namespace lumiere
