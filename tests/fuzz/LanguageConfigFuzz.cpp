// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as "Language.config": read without writing, one entry per element of its
// "Language" array and none for anything else.
#include "data/JsonAccess.h"
#include "data/LanguageList.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::filesystem::path folder = fuzz::FreshFolder();
    const std::filesystem::path file = folder / "Language.config";
    const std::string original(fuzz::AsText(data, size));
    fuzz::WriteBytes(file, original);
    const JsonDataFile files;
    const std::vector<LanguageEntry> entries = LanguageList::Read(files, file);
    FUZZ_CHECK(fuzz::ReadBytes(file) == original);
    const Json::Value root = files.ReadJsonFile(file);
    const Json::Value& list = JsonAccess::Member(root, "Language");
    FUZZ_CHECK(entries.size() == (JsonAccess::IsArray(list) ? list.size() : 0u));
    return 0;
}
