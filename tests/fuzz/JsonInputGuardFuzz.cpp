// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a data file's text: what the guard lets through is within its limits and
// holds only valid UTF-8, and what it refuses reads as null.
#include "data/JsonDataFile.h"
#include "data/JsonInputGuard.h"
#include "fuzz/FuzzSupport.h"

namespace {

struct Measure {
    std::size_t values = 0;
    int depth = 0;
};

void Walk(const Json::Value& value, int depth, Measure& measure) {
    ++measure.values;
    measure.depth = std::max(measure.depth, depth);
    if (value.isString()) FUZZ_CHECK(JsonInputGuard::IsValidUtf8(value.asString()));
    if (value.isObject()) {
        for (const std::string& name : value.getMemberNames())
            FUZZ_CHECK(JsonInputGuard::IsValidUtf8(name));
    }
    if (value.isObject() || value.isArray()) {
        for (const Json::Value& child : value) Walk(child, depth + 1, measure);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(fuzz::AsText(data, size));
    const char* refusal = JsonInputGuard::CheckText(text);
    Json::Value root;
    const bool taken = JsonDataFile::ParseText(text, root);
    if (!taken) {
        FUZZ_CHECK(root.isNull());
        return 0;
    }
    // A text the raw check refuses is never taken as a document.
    FUZZ_CHECK(refusal == nullptr);
    FUZZ_CHECK(JsonInputGuard::IsValidUtf8(text));
    FUZZ_CHECK(JsonInputGuard::CheckStrings(root));
    Measure measure;
    Walk(root, 1, measure);
    FUZZ_CHECK(measure.depth <= JsonInputGuard::kMaxDepth + 1);
    FUZZ_CHECK(measure.values <= JsonInputGuard::kMaxValues);
    // What the program writes back from it reads again as the same document.
    Json::Value again;
    FUZZ_CHECK(JsonDataFile::ParseText(JsonDataFile::StyledText(root), again));
    FUZZ_CHECK(again == root);
    return 0;
}
