// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as the light list config and as a light program: the lists and steps come
// out of the readers without a file being written, and a program name never leads out
// of the config's folder. Input: config, a line "#program#", then the program file.
#include "data/CBasicProfiledata.h"
#include "data/LightNameLists.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::filesystem::path root = fuzz::FreshFolder();
    const std::filesystem::path folder = root / "keyboard";
    std::filesystem::create_directories(folder);
    const auto [config, program] = fuzz::SplitAt(fuzz::AsText(data, size), "\n#program#\n");
    const std::filesystem::path configFile = folder / "vexal_light.config";
    fuzz::WriteBytes(configFile, config);
    // Every name the config could give a program, plain or not, finds this program.
    fuzz::WriteBytes(folder / "p.light", program);
    fuzz::WriteBytes(root / "p.light", program);
    const fuzz::Snapshot before = fuzz::TakeSnapshot(root);

    for (int kind = 0; kind < 4; ++kind) {
        CBasicProfiledata profile;
        profile.SetLightListIndex(kind);
        profile.LoadLightConfig(configFile);
        for (uint32_t mode = 0; mode < 4; ++mode) {
            profile.SetLightInfo(mode, 0, 0, 0);
            profile.LoadLightSteps();
        }
        LightNameLists lists;
        lists.Load(JsonDataFile(), kind, configFile, configFile);
        FUZZ_CHECK(lists.defaultNames.size() == lists.defaultVisible.size());
    }
    FUZZ_CHECK(fuzz::TakeSnapshot(root) == before);
    return 0;
}
