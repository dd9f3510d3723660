// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a file the user imports, as a macro and as a profile. A macro import
// either adds one entry whose file holds the source's bytes exactly, or changes no file;
// a profile import takes only a document whose first section the profile loader then
// uses as it is, under a clean name no other profile has.
#include "data/CKeyboardProfiledata.h"
#include "data/ProfileDocument.h"
#include "data/ProfileNames.h"
#include "data/macro/MacroLibrary.h"
#include "fuzz/FuzzSupport.h"

namespace {

void ImportMacro(const std::filesystem::path& root, const std::filesystem::path& source,
                 const std::string& bytes) {
    const std::filesystem::path folder = root / "library";
    std::filesystem::create_directories(folder);
    MacroLibrary library(folder);
    const auto first = library.Add("macro_1");
    FUZZ_CHECK(first && library.SaveEvents(first->guid, first->name, {}));
    const fuzz::Snapshot before = fuzz::TakeSnapshot(root);

    const MacroLibrary::ImportResult result = library.Import(source);
    if (result.result != MacroLibrary::Transfer::Done) {
        FUZZ_CHECK(fuzz::TakeSnapshot(root) == before);
        return;
    }
    FUZZ_CHECK(MacroLibrary::IsMacroDocument(JsonDataFile().ReadJsonFile(source)));
    const std::vector<MacroInfo> entries = library.Entries();
    FUZZ_CHECK(entries.size() == 2 && entries[1] == result.entry);
    FUZZ_CHECK(entries[1].name == "macro_2");
    FUZZ_CHECK(fuzz::ReadBytes(folder / (result.entry.guid + ".mac")) == bytes);
    library.LoadEvents(result.entry.guid);
}

void ImportProfile(const std::filesystem::path& root, const std::filesystem::path& source) {
    const JsonDataFile files;
    Json::Value document = files.ReadJsonFile(source);
    if (!ProfileDocument::IsImportable(document)) return;
    const std::string cleaned = ProfileNames::Cleaned(document[ProfileDocument::kName].asString());
    if (cleaned.empty()) return;
    FUZZ_CHECK(cleaned.size() <= ProfileNames::kMaxImportedLength * 4);
    for (unsigned char c : cleaned) FUZZ_CHECK(c >= 0x20 && c != 0x7F);

    const std::vector<std::string> names = {cleaned, "profile1"};
    const std::string name = ProfileNames::ImportName(cleaned, names);
    FUZZ_CHECK(!ProfileNames::Contains(names, name));

    // What the panel writes for the import: the document under the new name and UUID.
    const std::filesystem::path file = root / "2024_01_01_00_00_00_000.Json";
    document[ProfileDocument::kName] = name;
    document[ProfileDocument::kUuid] = "2024_01_01_00_00_00_000";
    FUZZ_CHECK(files.WriteJsonFile(file, document));
    CKeyboardProfiledata profile;
    profile.SetDefaultProfilePath(fuzz::SmallKeyboardDefaults());
    profile.SetProfilePath(file);
    profile.LoadSection(file);
    FUZZ_CHECK(profile.LastLoad().outcome == CBasicProfiledata::LoadReport::Outcome::Loaded);
    FUZZ_CHECK(profile.GetSection() == document["Device"][0]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::filesystem::path root = fuzz::FreshFolder();
    const std::filesystem::path source = root / "import.source";
    const std::string bytes(fuzz::AsText(data, size));
    fuzz::WriteBytes(source, bytes);
    ImportMacro(root, source, bytes);
    ImportProfile(root, source);
    return 0;
}
