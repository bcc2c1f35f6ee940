// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/profile.h"

#include <strings.h>

#include <cerrno>
#include <chrono>

#include "io/file_lock.h"
#include "io/text_file.h"
#include "text/cp1252.h"
#include "text/french.h"
#include "text/trim.h"

namespace lumiere {
namespace {

constexpr std::size_t kMaxProfileBytes = 1024 * 1024;

std::string_view trim(std::string_view s) {
    return lumiere::trim(s, kSpacesAndTabs);
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// The name of a "[name]" line, or nothing.
bool sectionName(std::string_view line, std::string_view& name) {
    line = trim(line);
    if (line.size() < 2 || line.front() != '[') return false;
    const auto close = line.find(']');
    if (close == std::string_view::npos) return false;
    name = trim(line.substr(1, close - 1));
    return true;
}

// The key and value of a "key=value" line; comments and lines without "=" are not entries.
bool entry(std::string_view line, std::string_view& key, std::string_view& value) {
    const std::string_view trimmed = trim(line);
    if (trimmed.empty() || trimmed.front() == ';') return false;
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    key = trim(line.substr(0, eq));
    value = trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return true;
}

}  // namespace

Profile Profile::parse(std::string_view bytes) {
    Profile profile;
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (bytes.substr(0, kBom.size()) == kBom) {
        profile.bom_ = kBom;
        bytes.remove_prefix(kBom.size());
    }
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto stop = bytes.find_first_of("\r\n", start);
        if (stop == std::string_view::npos) {
            profile.lines_.push_back({std::string(bytes.substr(start)), ""});
            break;
        }
        const std::size_t endLength =
            (bytes[stop] == '\r' && stop + 1 < bytes.size() && bytes[stop + 1] == '\n') ? 2 : 1;
        profile.lines_.push_back({std::string(bytes.substr(start, stop - start)),
                                  std::string(bytes.substr(stop, endLength))});
        start = stop + endLength;
    }
    return profile;
}

Profile::Place Profile::find(std::string_view section, std::string_view key) const {
    Place place;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        std::string_view name;
        if (sectionName(lines_[i].text, name)) {
            if (place.section != npos) break;  // the first matching section has ended
            if (sameName(name, section)) place.section = place.last = i;
            continue;
        }
        if (place.section == npos) continue;
        if (!trim(lines_[i].text).empty()) place.last = i;
        std::string_view k, v;
        if (place.key == npos && entry(lines_[i].text, k, v) && sameName(k, key)) place.key = i;
    }
    return place;
}

std::string Profile::read(std::string_view section, std::string_view key,
                          std::size_t maxLength) const {
    const Place place = find(section, key);
    if (place.key == npos) return {};
    std::string_view k, value;
    entry(lines_[place.key].text, k, value);
    return std::string(value.substr(0, maxLength));
}

void Profile::insert(std::size_t at, std::string text) {
    // A line that gets a successor needs a line end of its own.
    if (at > 0 && lines_[at - 1].end.empty()) lines_[at - 1].end = "\r\n";
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), {std::move(text), "\r\n"});
}

void Profile::write(std::string_view section, std::string_view key, std::string_view value) {
    std::string line = std::string(key) + "=" + std::string(value);
    const Place place = find(section, key);
    if (place.key != npos) {
        lines_[place.key].text = std::move(line);
    } else if (place.section != npos) {
        insert(place.last + 1, std::move(line));
    } else {
        insert(lines_.size(), "[" + std::string(section) + "]");
        insert(lines_.size(), std::move(line));
    }
}

void Profile::remove(std::string_view section, std::string_view key) {
    const Place place = find(section, key);
    if (place.key == npos) return;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(place.key));
}

std::string Profile::serialize() const {
    std::string out = bom_;
    for (const Line& line : lines_) out += line.text + line.end;
    return out;
}

namespace {

// How long a save waits for another Lumière's save of the same param.ini.
constexpr std::chrono::milliseconds kProfileLockPatience{1000};

}  // namespace

int loadProfile(const std::string& path, Profile& profile) {
    std::string bytes;
    const int err = readFileBytes(path, kMaxProfileBytes, bytes);
    if (err == ENOENT) {
        profile = Profile();
        return 0;
    }
    if (err != 0) return err;
    profile = Profile::parse(bytes);
    return 0;
}

int saveProfile(const std::string& path, const Profile& profile) {
    return writeFileAtomically(path, profile.serialize());
}

int updateProfile(const std::string& path, const std::function<void(Profile&)>& change) {
    // Read, change and write as one step under the lock, so that two Lumières saving at once
    // each change only their own entries on top of the other's latest file.
    const FileLock lock(path + ".lock", kProfileLockPatience);
    if (!lock.held()) return lock.error();
    Profile profile;
    if (const int err = loadProfile(path, profile); err != 0) return err;
    change(profile);
    return saveProfile(path, profile);
}

std::string profileNotSaved(int errnum) {
    return fromUtf8("param.ini n’a pas pu être enregistré (") + describeError(errnum) + ")";
}

std::string savedOrForThisSession(int errnum) {
    return errnum == 0 ? fromUtf8("Enregistré.")
                       : profileNotSaved(errnum) +
                             fromUtf8(" ; les réglages valent pour cette séance seulement.");
}

}  // namespace lumiere
