// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The little JSON the web remote speaks: one flat object of strings and whole numbers read
// strictly (what a phone sends), and strings written as valid UTF-8 JSON (what a phone gets: a
// WebSocket text message that is not valid UTF-8 makes the browser drop the connection).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumiere::json {

inline constexpr std::size_t kMaxFields = 8;
inline constexpr int kMaxNumberDigits = 15;

struct Field {
    std::string key;
    bool isString = false;
    std::string text;         // isString
    std::int64_t number = 0;  // !isString
};

// `{ "key": "text" | integer, ... }` with JSON's blanks around the tokens; keys unique, at most
// kMaxFields of them, integers of at most kMaxNumberDigits digits (no fraction, no exponent),
// strings with JSON's escapes decoding to valid UTF-8 without U+0000. Anything else: nothing.
std::optional<std::vector<Field>> readFlatObject(std::string_view text);

bool isValidUtf8(std::string_view text);

// Appends `text` as a JSON string literal; bytes that are not valid UTF-8 become U+FFFD.
void appendString(std::string& out, std::string_view text);

}  // namespace lumiere::json
