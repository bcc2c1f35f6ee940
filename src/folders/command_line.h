// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lumière's command line: `lumiere [--dossier DOSSIER] [--help] [--version] [Qt options]`.
// Only our own options are read here; Qt's (-platform, -style, -geometry …) are left, in order,
// for QApplication, which takes them out itself. Anything else is an error (exit code 2).
// Texts are UTF-8 French for the terminal.

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumiere::folders {

inline constexpr int kExitUsage = 2;

struct CommandLine {
    std::string folder;  // --dossier, empty when not given
    bool help = false;
    bool version = false;
    std::string error;                     // what is wrong with the command line
    std::vector<std::string> qtArguments;  // the program name, then every option left for Qt

    bool ok() const { return error.empty(); }
};

// `args` is the whole argv, program name first. Accepts "--dossier DIR" and "--dossier=DIR"
// (alias --folder), --help (-h, --aide) and --version (-v).
CommandLine parseCommandLine(const std::vector<std::string>& args);

std::string helpText(std::string_view programName);
// "lumiere (Lumière) 1.0", the copyright and the licence (GPL-3.0-or-later), as GNU programs do.
std::string versionText(std::string_view programName);

// Answers --help, --version or an error on `out` / `err` and returns the exit code; nothing
// when the program should go on and start.
std::optional<int> answerCommandLine(const CommandLine& line, std::string_view programName,
                                     std::ostream& out, std::ostream& err);

// argc and argv for QApplication, owning their strings for as long as the application lives
// (QApplication keeps both and may take its own options out of them).
class ArgumentVector {
public:
    explicit ArgumentVector(std::vector<std::string> args);
    ArgumentVector(const ArgumentVector&) = delete;
    ArgumentVector& operator=(const ArgumentVector&) = delete;

    int& argc() { return argc_; }
    char** argv() { return pointers_.data(); }

private:
    std::vector<std::string> strings_;
    std::vector<char*> pointers_;
    int argc_;
};

}  // namespace lumiere::folders
