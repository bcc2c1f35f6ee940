// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumiere::sim {

// The port used when param.ini names none, or names something that is not a port number.
inline constexpr int kDefaultPort = 1;

// A strictly positive decimal number, digits only (after trimming blanks); empty otherwise.
std::optional<int> parsePositiveInt(std::string_view text);

// The port number in the text of a param.ini, read as Lumière reads it at start-up (key "COM"
// of section "Port"); kDefaultPort when that gives no port.
int portFromIni(std::string_view text);

// portFromIni() on the file at `path`; kDefaultPort when it cannot be read.
int portFromIniFile(const std::string& path);

// What the command line asks for. Options left unset take their defaults from the
// program folder (see main.cpp).
struct SimOptions {
    std::optional<std::string> folder;
    std::optional<int> port;
    std::optional<std::string> logPath;
    std::optional<double> durationSeconds;
    bool quiet = false;
    bool help = false;
    bool version = false;
};

struct ParsedArguments {
    SimOptions options;
    std::string error;  // non-empty: the command line is wrong, in French, ready to print

    bool ok() const { return error.empty(); }
};

// Reads the arguments that follow the program name. Accepts "--option value" and
// "--option=value", the French option names and their English aliases.
ParsedArguments parseArguments(const std::vector<std::string>& args);

// The short French usage printed by --help and after a command-line error.
std::string usageText(std::string_view programName);

}  // namespace lumiere::sim
