// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mouse's recoil memory as one image in the layout of the macro image (MacroImage):
// four records, record g the pattern of weapon slot g, each event as a macro event.
//
// Only whole patterns go out: a slot whose file is missing has no events (the mouse then
// plays nothing for that gun), but a file that is there and is not a pattern of
// ShootFile::kEvents events stops the whole image, so that nothing half-read or oversized
// ever reaches the mouse.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "data/JsonDataFile.h"

namespace model {

class RecoilImage {
public:
    struct Built {
        std::optional<std::vector<uint8_t>> image;  // nothing when a pattern was refused
        int refusedSlot = -1;                       // the first slot whose file is no pattern
    };

    static Built Build(const JsonDataFile& files, const std::filesystem::path& folder);
};

}  // namespace model
