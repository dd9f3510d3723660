// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as "ProfileList.ini": reading never writes, entries never name a file outside
// the folder, and a change keeps a byte-exact copy of a list it could not use before it
// replaces it, while keeping every entry it could.
#include "data/ProfileListFile.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::filesystem::path folder = fuzz::FreshFolder();
    const std::string original(fuzz::AsText(data, size));
    ProfileListFile list(folder);
    fuzz::WriteBytes(list.Path(), original);

    const JsonDataFile::ReadStatus status = list.Read();
    FUZZ_CHECK(fuzz::ReadBytes(list.Path()) == original);
    FUZZ_CHECK(static_cast<int>(list.Names().size()) == list.Count());
    std::vector<ProfileListFile::Entry> before;
    for (int i = 0; i < list.Count(); ++i) {
        before.push_back(list.At(i));
        const std::filesystem::path file = list.ProfileFile(before.back().uuid);
        FUZZ_CHECK(file.empty() || file.parent_path() == folder);
    }
    list.Selected();

    const ProfileListFile::Entry added{"fuzz", "2024_01_01_00_00_00_000"};
    list.Put(list.Count(), added);
    list.SetSelected(list.Count() - 1);
    FUZZ_CHECK(list.Write());
    if (status != JsonDataFile::ReadStatus::Ok) {
        // The unusable list went aside whole before the new one took its place.
        bool kept = false;
        for (const auto& [name, bytes] : fuzz::TakeSnapshot(folder))
            kept = kept || (name.rfind("ProfileList.ini.unreadable-", 0) == 0 && bytes == original);
        FUZZ_CHECK(kept || original.empty());
    }
    ProfileListFile again(folder);
    FUZZ_CHECK(again.Read() == JsonDataFile::ReadStatus::Ok);
    FUZZ_CHECK(again.Count() == static_cast<int>(before.size()) + 1);
    for (std::size_t i = 0; i < before.size(); ++i) {
        FUZZ_CHECK(again.At(static_cast<int>(i)).name == before[i].name);
        FUZZ_CHECK(again.At(static_cast<int>(i)).uuid == before[i].uuid);
    }
    FUZZ_CHECK(again.At(again.Count() - 1).uuid == added.uuid);
    FUZZ_CHECK(again.Selected() == again.Count() - 1);
    return 0;
}
