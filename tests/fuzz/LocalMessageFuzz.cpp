// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a line on the local socket: a message taken from it is one the program
// could have sent (it encodes to a line within the limit that parses back to itself).
#include "fuzz/FuzzSupport.h"
#include "platform/LocalMessage.h"

using platform::LocalMessage;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::optional<LocalMessage> message = LocalMessage::Parse(fuzz::AsText(data, size));
    if (!message) return 0;
    FUZZ_CHECK(!message->type().empty());
    FUZZ_CHECK(message->words().size() <= LocalMessage::kMaxWords);
    const std::string line = message->Encode();
    FUZZ_CHECK(line.size() <= LocalMessage::kMaxLineBytes);
    FUZZ_CHECK(!line.empty() && line.back() == '\n');
    FUZZ_CHECK(line.find('\n') == line.size() - 1);
    const std::optional<LocalMessage> again =
        LocalMessage::Parse(std::string_view(line).substr(0, line.size() - 1));
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(again->type() == message->type());
    FUZZ_CHECK(again->wparam() == message->wparam() && again->lparam() == message->lparam());
    FUZZ_CHECK(again->words() == message->words());
    return 0;
}
