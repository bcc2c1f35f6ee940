// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The disk side of Lumière's files. Reading accepts only regular files (a folder, a pipe or a
// device never blocks or floods a load); writing goes to a temporary file in the same folder that
// is renamed over the target, so a failed write never leaves a truncated file behind.
// Every function returns 0 or an errno value (kNotRegularFile for a folder or a device).

#include <cstddef>
#include <functional>
#include <istream>
#include <string>
#include <string_view>

#include "text/french.h"

namespace lumiere {

// Reading never goes past this many bytes of a file: no light programme is anywhere near it, and
// a runaway file must not hold the window for long.
inline constexpr std::size_t kMaxReadBytes = 16 * 1024 * 1024;

// Opens a regular file and hands it to `read` as a stream of at most kMaxReadBytes; the reader
// stops where it likes.
int readFile(const std::string& path, const std::function<void(std::istream&)>& read);

// The whole file; EFBIG when it is larger than `maxBytes`.
int readFileBytes(const std::string& path, std::size_t maxBytes, std::string& bytes);

// Replaces the file's contents with `bytes` in one step.
int writeFileAtomically(const std::string& path, std::string_view bytes);

bool isRegularFile(const std::string& path);

}  // namespace lumiere
