// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Filling a program folder with the files Lumière ships, without ever replacing a file that is
// already there.

#include <string>
#include <vector>

namespace lumiere::folders {

struct FillResult {
    std::vector<std::string> copied;   // names copied, in name order
    std::vector<std::string> notices;  // UTF-8 French: why a copy failed (the first failure stops)
};

// Copies every regular file of `shipped` (not its subfolders, not hidden files) that `folder`
// lacks. Each copy is written to a hidden temporary name and linked under its own name only
// when complete, and that link fails when a file of that name appeared meanwhile: a user's file
// is never overwritten and a half-written copy never shows under the real name.
FillResult copyMissingFiles(const std::string& shipped, const std::string& folder);

}  // namespace lumiere::folders
