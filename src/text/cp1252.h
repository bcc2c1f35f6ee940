// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Windows-1252, the code page of every text Lumière keeps: captions, file contents and messages
// are Windows-1252 bytes in the core ("é" is the byte E9). The widgets and the file system speak
// UTF-8; these functions convert at those edges.

#include <optional>
#include <string>
#include <string_view>

namespace lumiere {

// Windows-1252 bytes to UTF-8.
std::string toUtf8(std::string_view cp1252);

// UTF-8 to Windows-1252, or nothing when the bytes are not valid UTF-8. Characters that have no
// Windows-1252 byte become "?".
std::optional<std::string> utf8ToCp1252(std::string_view utf8);

// UTF-8 source text (literals, paths for messages) to Windows-1252; invalid UTF-8 passes unchanged.
std::string fromUtf8(std::string_view utf8);

// Text read from a file: kept as Windows-1252 unless it is valid UTF-8 holding at least one
// non-ASCII character (what Linux editors write), which is then converted. A UTF-8 byte-order
// mark is dropped.
std::string decodeFileText(std::string_view bytes);

}  // namespace lumiere
