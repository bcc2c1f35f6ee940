// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/web_origin.h"

#include <cctype>
#include <string>

namespace lumiere {
namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool endsWithIgnoringCase(std::string_view text, std::string_view end) {
    return text.size() > end.size() &&
           equalsIgnoringCase(text.substr(text.size() - end.size()), end);
}

bool isPort(std::string_view text) {
    if (text.empty() || text.size() > 5) return false;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

bool isIpv4(std::string_view text) {
    int parts = 0;
    while (true) {
        const std::size_t dot = text.find('.');
        const std::string_view part = text.substr(0, dot);
        if (part.empty() || part.size() > 3 || !isPort(part) || std::stoi(std::string(part)) > 255)
            return false;
        ++parts;
        if (dot == std::string_view::npos) break;
        text.remove_prefix(dot + 1);
    }
    return parts == 4;
}

bool isIpv6(std::string_view text) {
    if (text.empty()) return false;
    for (const char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c)) && c != ':' && c != '.') return false;
    }
    return text.find(':') != std::string_view::npos;
}

bool isName(std::string_view text) {
    if (text.empty() || text.size() > 253) return false;
    for (const char c : text) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '.') return false;
    }
    return true;
}

}  // namespace

bool hostAllowed(std::string_view host, std::string_view machineName) {
    std::string_view name = host;
    if (!name.empty() && name.front() == '[') {
        const std::size_t close = name.find(']');
        if (close == std::string_view::npos) return false;
        const std::string_view rest = name.substr(close + 1);
        if (!rest.empty() && (rest.front() != ':' || !isPort(rest.substr(1)))) return false;
        return isIpv6(name.substr(1, close - 1));
    }
    const std::size_t colon = name.rfind(':');
    if (colon != std::string_view::npos) {
        if (!isPort(name.substr(colon + 1))) return false;
        name = name.substr(0, colon);
    }
    if (isIpv4(name)) return true;
    if (!isName(name)) return false;
    return equalsIgnoringCase(name, "localhost") ||
           (!machineName.empty() && equalsIgnoringCase(name, machineName)) ||
           endsWithIgnoringCase(name, ".local");
}

bool sameOrigin(std::string_view origin, std::string_view host) {
    constexpr std::string_view kScheme = "http://";
    return !host.empty() && origin.size() == kScheme.size() + host.size() &&
           equalsIgnoringCase(origin.substr(0, kScheme.size()), kScheme) &&
           equalsIgnoringCase(origin.substr(kScheme.size()), host);
}

}  // namespace lumiere
