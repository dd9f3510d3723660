// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as an automation script: the reader never holds a line longer than its limit,
// loses no byte of the lines it hands out, and the member readers answer every line
// either with a value in range or with a CommandError.
#include <sstream>

#include "app/AutomationJson.h"
#include "app/ScriptLineReader.h"
#include "data/JsonDataFile.h"
#include "fuzz/FuzzSupport.h"

namespace {

constexpr std::size_t kLimit = 64;

void ReadMembers(const Json::Value& command) {
    namespace automation = app::automation;
    try {
        const std::int64_t ms = automation::IntMember(command, "ms", 0, 3600000);
        FUZZ_CHECK(ms >= 0 && ms <= 3600000);
    } catch (const app::CommandError&) {
    }
    try {
        const std::int64_t index = automation::IntMemberOr(command, "index", -1, -1, 125);
        FUZZ_CHECK(index >= -1 && index <= 125);
    } catch (const app::CommandError&) {
    }
    for (const char* name : {"cmd", "control", "type", "text"}) {
        try {
            automation::StringMember(command, name);
        } catch (const app::CommandError&) {
        }
    }
    try {
        automation::BoolMemberOr(command, "force", false);
        automation::ColorMember(command, "color");
    } catch (const app::CommandError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string script(fuzz::AsText(data, size));
    std::istringstream in(script);
    app::ScriptLineReader reader(in, kLimit);
    std::string line;
    std::string rebuilt;  // the lines read, with their ends, as long as none was too long
    bool whole = true;
    std::size_t count = 0;
    for (;;) {
        const auto result = reader.Next(line);
        if (result == app::ScriptLineReader::Result::End) break;
        FUZZ_CHECK(++count <= size);
        if (result == app::ScriptLineReader::Result::TooLong) {
            FUZZ_CHECK(line.empty());
            whole = false;
            continue;
        }
        FUZZ_CHECK(line.size() <= kLimit);
        FUZZ_CHECK(line.find('\n') == std::string::npos);
        rebuilt += line;
        rebuilt += '\n';
        Json::Value command;
        // The runner hands the readers objects only.
        if (JsonDataFile::ParseText(line, command) && command.isObject()) ReadMembers(command);
    }
    if (whole) {
        // Every line came back, less its "\n" and the "\r" before one.
        std::string expected;
        std::istringstream again(script);
        std::string raw;
        while (std::getline(again, raw)) {
            if (!raw.empty() && raw.back() == '\r') raw.pop_back();
            expected += raw + '\n';
        }
        FUZZ_CHECK(rebuilt == expected);
    }
    return 0;
}
