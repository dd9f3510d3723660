// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A keyboard keeps what it was told when the program that told it ends: the simulated
// devices keep their settings memory (the settings blocks and the active profile) from
// one run of the program to the next, in the runtime folder, so that a restart meets the
// device as the last run left it. Only the settings memory: the key table and macros
// start from the device's definition each run, as the automation documents.
#include <filesystem>
#include <string_view>

namespace sim {
class SimDevice;
}

namespace app {

class SimMemoryStore {
public:
    // RuntimeDir()/"telix-tx512-sim"/name + ".settings"
    static std::filesystem::path PathOf(std::string_view name);
    // Before the device is plugged: the memory the last run left, when it fits.
    static void Restore(sim::SimDevice& device, std::string_view name);
    // At the end of a run.
    static void Keep(const sim::SimDevice& device, std::string_view name);
};

}  // namespace app
