// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program folder: where Lumière reads and writes param.ini, the animations, the sequences,
// the cycles and the pictures. In order:
//   1. a folder named on the command line (--dossier), which must exist;
//   2. the executable's own folder when param.ini lies beside it (a portable copy, the build);
//   3. otherwise $XDG_DATA_HOME/lumiere (by default ~/.local/share/lumiere), created at the first
//      start and given every shipped file it does not have yet, from <exe dir>/../share/lumiere.
//      A file already there is never replaced, so the user's edits stay.
// Messages are UTF-8 French: they go to the terminal, or to a dialog, before any window exists.

#include <functional>
#include <string>
#include <vector>

namespace lumiere::folders {

// Creates one folder with `mode`; returns 0 or an errno value (EEXIST when something is there).
int makeOneFolder(const std::string& path, unsigned mode);

// What the rule looks at, injected so tests need neither the real home nor a real install.
struct Environment {
    std::string exeDir;       // the folder of the running executable
    std::string xdgDataHome;  // $XDG_DATA_HOME, empty when unset
    std::string home;         // $HOME, or the password base's home when unset
    std::function<int(const std::string&, unsigned)> makeFolder = makeOneFolder;
};

// The environment of this process.
Environment currentEnvironment();

enum class FolderKind { Explicit, Portable, User };

struct ProgramFolder {
    FolderKind kind = FolderKind::User;
    std::string path;
    std::string error;                 // set when there is no usable folder: do not start
    std::vector<std::string> notices;  // the folder is usable, but something is worth saying
    std::vector<std::string> copied;   // shipped files copied into the folder by this call

    bool ok() const { return error.empty(); }
};

// Applies the rule; `explicitFolder` is the --dossier value, empty when not given.
ProgramFolder resolveProgramFolder(const Environment& env, const std::string& explicitFolder);

// Where an installed Lumière keeps the files it ships: <exe dir>/../share/lumiere.
std::string shippedFolder(const std::string& exeDir);

}  // namespace lumiere::folders
