// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The profile file param.ini: "[Section]" lines, each followed by "key=value" lines. Sections and
// keys are found without regard to letter case; the first occurrence counts. Writing an entry
// replaces only that entry's line, or adds the key or the section when missing: every other line
// keeps its exact bytes, line end included. New lines end with CR LF.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumiere {

class Profile {
public:
    static Profile parse(std::string_view bytes);

    // The value, at most maxLength characters of it; empty when the entry is missing.
    std::string read(std::string_view section, std::string_view key, std::size_t maxLength) const;
    void write(std::string_view section, std::string_view key, std::string_view value);
    // Removes the entry's line; the section stays, even when it is left empty.
    void remove(std::string_view section, std::string_view key);
    std::string serialize() const;

private:
    struct Line {
        std::string text;
        std::string end;  // "\r\n", "\r", "\n" or "" for a last line without an end
    };
    struct Place {
        std::size_t section = npos;  // index of the section line
        std::size_t key = npos;      // index of the key line
        std::size_t last = npos;     // last non-blank line of the section
    };
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    Place find(std::string_view section, std::string_view key) const;
    void insert(std::size_t at, std::string text);

    std::string bom_;  // a UTF-8 byte-order mark in front of the first line, kept as it was
    std::vector<Line> lines_;
};

// param.ini on disk. A missing file reads as an empty profile.
int loadProfile(const std::string& path, Profile& profile);
int saveProfile(const std::string& path, const Profile& profile);
// Reads param.ini, lets `change` write its entries, and saves it with every other line kept, all
// under the lock "param.ini.lock" beside it: another Lumière saving the same file at once cannot
// undo this change, nor this one undo it. Nothing is written when the file cannot be read, or
// when the lock cannot be had within a second (kLockBusy). Returns 0, or the errno of the read
// or save.
int updateProfile(const std::string& path, const std::function<void(Profile&)>& change);
// "param.ini n’a pas pu être enregistré (<reason>)", the start of every message about a save
// that failed; each dialog says after it what that means for its own settings.
std::string profileNotSaved(int errnum);
// What a dialog whose settings act at once says after "Enregistrer": "Enregistré.", or that the
// save failed and the settings hold for this session only.
std::string savedOrForThisSession(int errnum);

}  // namespace lumiere
