// SPDX-License-Identifier: GPL-3.0-or-later
// What a phone may send, as arbitrary bytes: the parser accepts only commands within their
// ranges, always gives a reason when it refuses, and what the page would send for an accepted
// command reads back as the same command. What the phones get stays valid UTF-8 JSON whatever
// the names in it.

#include <string>

#include "fuzz_check.h"
#include "web/json_text.h"
#include "web/remote_command.h"
#include "web/remote_message.h"

namespace {

using lumiere::PhoneMessage;
using lumiere::RemoteCommand;

void checkCommand(const RemoteCommand& command) {
    using Kind = RemoteCommand::Kind;
    switch (command.kind) {
        case Kind::Effect:
            FUZZ_CHECK(command.value >= 1 && command.value <= lumiere::kRemoteEffects);
            break;
        case Kind::Master:
            FUZZ_CHECK(command.value >= 0 && command.value <= lumiere::kRemoteMasterMax);
            break;
        case Kind::RunSequence:
            FUZZ_CHECK(lumiere::isPlainFileName(command.name));
            break;
        default:
            FUZZ_CHECK(command.value == 0 && command.name.empty());
    }
    const PhoneMessage again = lumiere::parsePhoneMessage(lumiere::commandMessage(command));
    FUZZ_CHECK(again.kind == PhoneMessage::Kind::Command);
    FUZZ_CHECK(again.command == command);
}

// Any bytes as a name in the state message, and as a string read back from a flat object.
void checkWriting(std::string_view text) {
    lumiere::RemoteState state;
    state.sequences = {std::string(text)};
    state.busy = std::string(text);
    const std::string message = lumiere::stateMessage(state, 1);
    FUZZ_CHECK(lumiere::json::isValidUtf8(message));

    std::string object = "{\"k\":";
    lumiere::json::appendString(object, text);
    object += '}';
    FUZZ_CHECK(lumiere::json::isValidUtf8(object));
    const auto fields = lumiere::json::readFlatObject(object);
    const bool plain = lumiere::json::isValidUtf8(text) && text.find('\0') == std::string::npos;
    if (plain) {
        FUZZ_CHECK(fields && fields->size() == 1 && (*fields)[0].isString);
        FUZZ_CHECK((*fields)[0].text == text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = lumiere::fuzz::asText(data, size);
    const PhoneMessage message = lumiere::parsePhoneMessage(text);
    switch (message.kind) {
        case PhoneMessage::Kind::Refused:
            FUZZ_CHECK(!message.refusal.empty());
            break;
        case PhoneMessage::Kind::Seen:
            FUZZ_CHECK(size <= lumiere::kMaxMessageBytes);
            break;
        case PhoneMessage::Kind::Command:
            FUZZ_CHECK(size <= lumiere::kMaxMessageBytes);
            checkCommand(message.command);
            break;
    }
    if (size > lumiere::kMaxMessageBytes) FUZZ_CHECK(message.kind == PhoneMessage::Kind::Refused);
    checkWriting(text);
    return 0;
}
