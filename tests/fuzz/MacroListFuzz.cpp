// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as "macro.config": the library reads it without touching a file, keeps at
// most 50 macros, never reaches a file outside its folder through an identifier, and a
// change either keeps every entry it had (with a copy of a list it could not use) or
// changes nothing.
#include "data/macro/MacroLibrary.h"
#include "fuzz/FuzzSupport.h"

namespace {

const std::string kOutside = "outside.mac";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::filesystem::path root = fuzz::FreshFolder();
    const std::filesystem::path folder = root / "keyboard";
    std::filesystem::create_directories(folder);
    // A file an identifier such as "../outside" would reach if it were taken as a path.
    fuzz::WriteBytes(root / kOutside, "{}");
    const std::string original(fuzz::AsText(data, size));
    MacroLibrary library(folder);
    fuzz::WriteBytes(library.ListPath(), original);

    const std::vector<MacroInfo> entries = library.Entries();
    const fuzz::Snapshot untouched = fuzz::TakeSnapshot(root);
    for (std::size_t i = 0; i < entries.size(); ++i) library.LoadEvents(entries[i].guid);
    FUZZ_CHECK(fuzz::TakeSnapshot(root) == untouched);

    const auto added = library.Add(MacroLibrary::NewName(MacroLibrary::Names(entries)));
    if (!added) {
        FUZZ_CHECK(fuzz::TakeSnapshot(root) == untouched);
        FUZZ_CHECK(entries.size() >= MacroLibrary::kMaxMacros);
        return 0;
    }
    FUZZ_CHECK(entries.size() < MacroLibrary::kMaxMacros);
    std::vector<MacroInfo> now = library.Entries();
    FUZZ_CHECK(now.size() == entries.size() + 1);
    FUZZ_CHECK(std::equal(entries.begin(), entries.end(), now.begin()));
    FUZZ_CHECK(now.back() == *added);
    FUZZ_CHECK(!MacroLibrary::NewName(MacroLibrary::Names(entries)).empty());

    // Save a macro under every identifier, then remove the entries one by one: nothing
    // outside the folder is ever written or deleted.
    for (const MacroInfo& entry : now) library.SaveEvents(entry.guid, entry.name, {});
    FUZZ_CHECK(fuzz::ReadBytes(root / kOutside) == "{}");
    FUZZ_CHECK(library.Rename(0, "renamed"));
    FUZZ_CHECK(library.Entries().front().name == "renamed");
    while (!now.empty()) {
        FUZZ_CHECK(library.Remove(0));
        now.erase(now.begin());
        FUZZ_CHECK(library.Entries() == now);
    }
    FUZZ_CHECK(!library.Remove(0));
    FUZZ_CHECK(fuzz::ReadBytes(root / kOutside) == "{}");
    return 0;
}
