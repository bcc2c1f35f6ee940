// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which requests come from the page itself. A page is reached by an address typed on the phone
// (an IP address, "localhost", the computer's name or a ".local" name), so a request naming any
// other host is refused: a foreign web site whose name was pointed at this computer (DNS
// rebinding) never gets an answer. A WebSocket is opened by the page only when its Origin is the
// page's own, "http://" + the Host it was loaded from.

#include <string_view>

namespace lumiere {

// `host` is a Host header: a name or address with an optional ":port".
bool hostAllowed(std::string_view host, std::string_view machineName);

bool sameOrigin(std::string_view origin, std::string_view host);

}  // namespace lumiere
