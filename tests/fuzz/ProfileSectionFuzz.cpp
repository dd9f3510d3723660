// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a keyboard profile file: the load either takes the file's section or
// puts the defaults in its place after keeping a byte-exact copy; a file it cannot copy
// is never written; and what the program then saves loads back as it was saved.
#include "data/CKeyboardProfiledata.h"
#include "data/JsonAccess.h"
#include "fuzz/FuzzSupport.h"

namespace {

constexpr int kLeds = 126;

void CheckReaders(CKeyboardProfiledata& profile) {
    profile.GetLightInfo();
    profile.GetLightList();
    profile.GetSystemStages();
    const std::vector<KeyMapping> keys = profile.GetKeyList();
    for (std::size_t i = 0; i < keys.size(); ++i) FUZZ_CHECK(keys[i].current.position == i);
    FUZZ_CHECK(profile.GetCustomColours(profile.GetCustomGroupIndex(), kLeds).size() == kLeds);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::filesystem::path folder = fuzz::FreshFolder();
    const std::filesystem::path file = folder / "2024_01_01_00_00_00_000.Json";
    const std::string original(fuzz::AsText(data, size));
    fuzz::WriteBytes(file, original);

    CKeyboardProfiledata profile;
    profile.SetDefaultProfilePath(fuzz::SmallKeyboardDefaults());
    profile.SetProfilePath(file);
    profile.LoadSection(file);
    const auto& report = profile.LastLoad();
    using Outcome = CBasicProfiledata::LoadReport::Outcome;
    const JsonDataFile files;
    switch (report.outcome) {
        case Outcome::Loaded:
            FUZZ_CHECK(fuzz::ReadBytes(file) == original);
            FUZZ_CHECK(JsonAccess::IsObject(profile.GetSection()));
            break;
        case Outcome::Kept:
            FUZZ_CHECK(fuzz::ReadBytes(file) == original);
            FUZZ_CHECK(!profile.Save());
            FUZZ_CHECK(fuzz::ReadBytes(file) == original);
            return 0;
        case Outcome::Replaced:
            FUZZ_CHECK(fuzz::ReadBytes(report.copy) == original);
            [[fallthrough]];
        case Outcome::Created: {
            const Json::Value root = files.ReadJsonFile(file);
            FUZZ_CHECK(
                JsonAccess::IsObject(JsonAccess::Element(JsonAccess::Member(root, "Device"), 0)));
            if (report.outcome == Outcome::Created) {
                // A readable file keeps every other member it had.
                Json::Value before;
                if (JsonDataFile::ParseText(original, before) && before.isObject()) {
                    for (const std::string& name : before.getMemberNames())
                        if (name != "Device") FUZZ_CHECK(root[name] == before[name]);
                }
            }
            break;
        }
    }
    CheckReaders(profile);

    // A change saved is what the next load finds.
    std::vector<KeyMapping> keys = profile.GetKeyList();
    if (keys.empty()) keys.resize(3);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        keys[i].current = KeyAssignment::FromPacked(static_cast<uint16_t>(i),
                                                    0x020000u | static_cast<uint32_t>(i & 0xFFFF));
    }
    profile.SetKeyList(keys);
    profile.SetSystemStages(0x00010002, 0x00030004, 0x00050006);
    FUZZ_CHECK(profile.Save());

    CKeyboardProfiledata again;
    again.SetDefaultProfilePath(fuzz::SmallKeyboardDefaults());
    again.LoadSection(file);
    FUZZ_CHECK(again.LastLoad().outcome == Outcome::Loaded);
    const std::vector<KeyMapping> read = again.GetKeyList();
    FUZZ_CHECK(read.size() >= keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        FUZZ_CHECK(read[i].current == keys[i].current);
    }
    const auto stages = again.GetSystemStages();
    FUZZ_CHECK(stages[0] == 0x00010002 && stages[1] == 0x00030004 && stages[2] == 0x00050006);
    CheckReaders(again);
    return 0;
}
