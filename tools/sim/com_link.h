// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace lumiere::sim {

// The symbolic link COM<N> in the program folder that makes Lumière open the simulator's
// line instead of /dev/ttyS<N-1>.
class ComLink {
public:
    enum class Outcome {
        Created,   // there was nothing of that name
        Replaced,  // an older symbolic link of that name was replaced
        Refused,   // something other than a symbolic link is there: left untouched
        Failed,    // the folder refused the link (see the error message)
    };

    ComLink(std::string folder, std::string name, std::string target);

    std::string path() const { return folder_ + "/" + name_; }

    // Points the link at the target. An existing symbolic link is replaced in one rename, so the
    // name never disappears in between. `error` is set for Refused and Failed.
    Outcome create(std::string& error);

    // Removes the link if it still points to our target; another simulator may have taken the
    // name over since, and its link must stay. Returns true when the link was removed.
    bool removeIfOurs() const;

    // Other entries of the folder whose names match ours except for letter case (e.g. "com1"):
    // Lumière matches the name regardless of case and might open one of those instead.
    std::vector<std::string> namesDifferingInCase() const;

private:
    std::string folder_;
    std::string name_;
    std::string target_;
};

}  // namespace lumiere::sim
