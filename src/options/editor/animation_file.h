// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The disk side of the editor: an animation file read whole (a regular file of at most 16 MiB,
// read without ever blocking), written in one step (a temporary file in the same folder renamed
// over it), and what it held when read, to see whether someone else changed it since.

#include <cstdint>
#include <string>
#include <string_view>

namespace lumiere {

// What a file held: a change of content shows in its size or its hash. Its modification time is
// kept too, but a file touched without a change of content has not changed for the editor:
// nothing of it would be lost.
struct DiskState {
    bool exists = false;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::uint64_t hash = 0;

    bool sameContent(const DiskState& other) const {
        return exists == other.exists && size == other.size && hash == other.hash;
    }
};

struct FileRead {
    int error = 0;  // 0 (a missing file included), an errno value or kNotRegularFile
    std::string bytes;
    DiskState disk;  // disk.exists is false for a missing file
};

// A missing file reads as empty and without error: it is made at the first save.
FileRead readAnimationFile(const std::string& path);

// Writes the bytes in one step; 0 or an errno value. `disk` becomes what the file now holds.
int writeAnimationFile(const std::string& path, std::string_view bytes, DiskState& disk);

std::uint64_t contentHash(std::string_view bytes);

// The French reasons (Windows-1252) for the status line.
std::string openProblem(const std::string& name, int error);
std::string saveProblem(const std::string& name, int error);

}  // namespace lumiere
