// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How an option reads its own section of param.ini: a flag, a bounded whole number, a text.
// What cannot be used as written gives the default or the nearest value in range, and a note
// that says so in French ("param.ini, section [DMX] : Univers=0 n’est pas un nombre entier de
// 1 à 65535 ; l’univers 1 est utilisé."); a missing entry gives its default and no note. Every
// text is Windows-1252, like the rest of the core.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lumiere {

class Profile;

class SectionReader {
public:
    SectionReader(const Profile& profile, std::string_view section);

    // The entry's text, at most `limit` characters, without the spaces and tabs around it.
    std::string text(std::string_view key, std::size_t limit) const;

    // 0 or 1. Anything else gives `fallback`, said with `otherwise` (UTF-8: "la sortie DMX
    // reste arrêtée.").
    bool flag(std::string_view key, bool fallback, std::string_view otherwise);

    // A whole number from `min` to `max`: a fraction is rounded (half to even), a value out of
    // range becomes the nearest bound, a text that is no number gives `fallback`. The note names
    // the value used with `used` (UTF-8, with its article: "l’univers ", "la sensibilité "),
    // then "est utilisé." or, with `feminine`, "est utilisée.".
    struct Range {
        int min = 0;
        int max = 0;
    };
    int number(std::string_view key, Range range, int fallback, std::string_view used,
               bool feminine = false);

    // The notes of every entry read so far, in order.
    const std::vector<std::string>& notes() const { return notes_; }

private:
    std::string raw(std::string_view key) const;
    void note(std::string_view key, std::string_view raw, const std::string& what);

    const Profile& profile_;
    std::string section_;
    std::vector<std::string> notes_;
};

}  // namespace lumiere
