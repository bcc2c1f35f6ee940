// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/remote_command.h"

#include <array>
#include <optional>

#include "web/json_text.h"
#include "web/web_texts.h"

namespace lumiere {
namespace {

using Kind = RemoteCommand::Kind;

struct Verb {
    const char* word;
    Kind kind;
    const char* argument;  // the one other key it takes, or nullptr
    bool numeric;
    int low, high;
};

constexpr std::array<Verb, 6> kVerbs = {{
    {"marche", Kind::Switch, nullptr, false, 0, 0},
    {"effet", Kind::Effect, "n", true, 1, kRemoteEffects},
    {"stop", Kind::StopAll, nullptr, false, 0, 0},
    {"general", Kind::Master, "n", true, 0, kRemoteMasterMax},
    {"lancer", Kind::RunSequence, "nom", false, 0, 0},
    {"arreter", Kind::StopSequence, nullptr, false, 0, 0},
}};

PhoneMessage refused(const char* reason) {
    PhoneMessage message;
    message.kind = PhoneMessage::Kind::Refused;
    message.refusal = reason;
    return message;
}

const json::Field* find(const std::vector<json::Field>& fields, std::string_view key) {
    for (const json::Field& field : fields) {
        if (field.key == key) return &field;
    }
    return nullptr;
}

PhoneMessage seen(const std::vector<json::Field>& fields) {
    const json::Field& field = fields.front();
    if (fields.size() != 1 || field.isString) return refused(web_text::kUnknownCommand);
    if (field.number < 0) return refused(web_text::kOutOfRange);
    PhoneMessage message;
    message.kind = PhoneMessage::Kind::Seen;
    message.seen = static_cast<std::uint64_t>(field.number);
    return message;
}

PhoneMessage command(const Verb& verb, const std::vector<json::Field>& fields) {
    const std::size_t expected = verb.argument ? 2 : 1;
    const json::Field* argument = verb.argument ? find(fields, verb.argument) : nullptr;
    if (fields.size() != expected || (verb.argument && !argument))
        return refused(web_text::kUnknownCommand);
    PhoneMessage message;
    message.kind = PhoneMessage::Kind::Command;
    message.command.kind = verb.kind;
    if (!argument) return message;
    if (verb.numeric) {
        if (argument->isString) return refused(web_text::kUnknownCommand);
        if (argument->number < verb.low || argument->number > verb.high)
            return refused(web_text::kOutOfRange);
        message.command.value = static_cast<int>(argument->number);
    } else {
        if (!argument->isString) return refused(web_text::kUnknownCommand);
        if (!isPlainFileName(argument->text)) return refused(web_text::kUnknownSequence);
        message.command.name = argument->text;
    }
    return message;
}

}  // namespace

PhoneMessage parsePhoneMessage(std::string_view text) {
    if (text.size() > kMaxMessageBytes) return refused(web_text::kTooLong);
    const auto fields = json::readFlatObject(text);
    if (!fields) return refused(web_text::kUnreadable);
    if (fields->empty()) return refused(web_text::kUnknownCommand);
    if (fields->front().key == "vu") return seen(*fields);
    const json::Field* word = find(*fields, "c");
    if (!word || !word->isString) return refused(web_text::kUnknownCommand);
    for (const Verb& verb : kVerbs) {
        if (word->text == verb.word) return command(verb, *fields);
    }
    return refused(web_text::kUnknownCommand);
}

bool isPlainFileName(std::string_view name) {
    if (name.empty() || name.size() > kMaxNameBytes) return false;
    if (name == "." || name == "..") return false;
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F || c == '/' || c == '\\')
            return false;
    }
    return json::isValidUtf8(name);
}

std::string commandMessage(const RemoteCommand& command) {
    const Verb* verb = nullptr;
    for (const Verb& v : kVerbs) {
        if (v.kind == command.kind) verb = &v;
    }
    std::string out = "{\"c\":\"";
    out += verb->word;
    out += '"';
    if (verb->argument) {
        out += ",\"";
        out += verb->argument;
        out += "\":";
        if (verb->numeric)
            out += std::to_string(command.value);
        else
            json::appendString(out, command.name);
    }
    out += '}';
    return out;
}

}  // namespace lumiere
