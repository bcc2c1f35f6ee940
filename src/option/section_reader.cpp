// SPDX-License-Identifier: GPL-3.0-or-later
#include "option/section_reader.h"

#include <algorithm>

#include "settings/profile.h"
#include "text/cp1252.h"
#include "text/number.h"
#include "text/trim.h"

namespace lumiere {
namespace {

constexpr std::size_t kValueLimit = 64;  // characters of a flag or a number read from the file
constexpr std::size_t kShown = 20;       // characters of a refused value quoted back

std::string shown(std::string_view text) {
    if (text.size() <= kShown) return std::string(text);
    return std::string(text.substr(0, kShown)) + fromUtf8("…");
}

}  // namespace

SectionReader::SectionReader(const Profile& profile, std::string_view section)
    : profile_(profile), section_(section) {}

std::string SectionReader::text(std::string_view key, std::size_t limit) const {
    return std::string(trim(profile_.read(section_, key, limit), kSpacesAndTabs));
}

std::string SectionReader::raw(std::string_view key) const {
    return profile_.read(section_, key, kValueLimit);
}

void SectionReader::note(std::string_view key, std::string_view raw, const std::string& what) {
    notes_.push_back(fromUtf8("param.ini, section [") + section_ + "] : " + std::string(key) + "=" +
                     shown(raw) + " " + what);
}

bool SectionReader::flag(std::string_view key, bool fallback, std::string_view otherwise) {
    const std::string value = raw(key);
    if (const auto on = parseWholeNumber(value); on && (*on == 0 || *on == 1)) return *on == 1;
    if (!value.empty()) note(key, value, fromUtf8("n’est ni 0 ni 1 ; ") + fromUtf8(otherwise));
    return fallback;
}

int SectionReader::number(std::string_view key, Range range, int fallback, std::string_view used,
                          bool feminine) {
    const std::string value = raw(key);
    if (value.empty()) return fallback;
    const auto saying = [&](int result) {
        return fromUtf8(used) + std::to_string(result) +
               fromUtf8(feminine ? " est utilisée." : " est utilisé.");
    };
    const auto number = parseWholeNumber(value);
    if (!number) {
        note(key, value, fromUtf8("n’est pas un nombre ; ") + saying(fallback));
        return fallback;
    }
    const double whole = roundHalfEven(*number);
    const int result = static_cast<int>(std::clamp(whole, double(range.min), double(range.max)));
    if (whole != *number || result != whole) {
        note(key, value,
             fromUtf8("n’est pas un nombre entier de ") + std::to_string(range.min) +
                 fromUtf8(" à ") + std::to_string(range.max) + " ; " + saying(result));
    }
    return result;
}

}  // namespace lumiere
