// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The [Web] section of param.ini, as the application reads it: Actif, Port, Reseau, Code.

#include <string>

namespace lumiere {

struct WebSettings {
    bool enabled = false;  // Actif: off, nothing listens
    int port = 8080;       // Port: 1 to 65535
    bool network = false;  // Reseau: every interface instead of 127.0.0.1 only
    std::string code;      // Code: the six-digit pairing code; anything else makes a new one
    bool operator==(const WebSettings&) const = default;
};

}  // namespace lumiere
