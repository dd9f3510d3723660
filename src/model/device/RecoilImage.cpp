// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/RecoilImage.h"

#include "data/macro/ShootFile.h"
#include "model/device/MacroImage.h"

namespace model {

RecoilImage::Built RecoilImage::Build(const JsonDataFile& files,
                                      const std::filesystem::path& folder) {
    Built built;
    std::vector<std::vector<MacroEvent>> patterns;
    patterns.reserve(ShootFile::kWeapons);
    for (int slot = 0; slot < ShootFile::kWeapons; ++slot) {
        ShootFile::Pattern pattern = ShootFile::ReadPattern(files, ShootFile::PathOf(folder, slot));
        if (pattern.status == ShootFile::Status::Malformed) {
            built.refusedSlot = slot;
            return built;
        }
        patterns.push_back(std::move(pattern.events));
    }
    built.image = MacroImage::Build(patterns);
    return built;
}

}  // namespace model
