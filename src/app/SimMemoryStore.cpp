// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SimMemoryStore.h"

#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "sim/Firmware.h"
#include "sim/SimDevice.h"

namespace app {

std::filesystem::path SimMemoryStore::PathOf(std::string_view name) {
    return platform::RuntimeDir() / "telix-tx512-sim" / (std::string(name) + ".settings");
}

void SimMemoryStore::Restore(sim::SimDevice& device, std::string_view name) {
    std::ifstream in(PathOf(name), std::ios::binary);
    if (!in) return;
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    std::size_t size = 0;
    device.Inspect([&size](const sim::Firmware& firmware) { size = firmware.Settings().Size(); });
    // A file of another size belongs to another device definition: it is left unused.
    if (bytes.size() == size) device.ChangeSettingsOnDevice(0, bytes);
}

void SimMemoryStore::Keep(const sim::SimDevice& device, std::string_view name) {
    std::string bytes;
    device.Inspect([&bytes](const sim::Firmware& firmware) {
        const auto memory = firmware.Settings().Bytes();
        bytes.assign(memory.begin(), memory.end());
    });
    std::error_code ignored;
    std::filesystem::create_directories(PathOf(name).parent_path(), ignored);
    platform::WriteFileAtomically(PathOf(name), bytes);
}

}  // namespace app
