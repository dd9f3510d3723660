// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/MacroDownload.h"

#include <new>

#include "data/macro/MacroFile.h"
#include "data/macro/MacroListFile.h"
#include "model/device/MacroImage.h"

namespace model {

int MacroDownload::Write(device::CommandSet& commands, bool connected, std::size_t capacity,
                         const std::filesystem::path& libraryFolder, const std::vector<int>& macros,
                         const JsonDataFile& files) {
    const auto library = MacroListFile::Read(files, MacroListFile::PathIn(libraryFolder));
    if (!library || macros.empty()) return 0;

    std::vector<std::vector<MacroEvent>> events;
    std::vector<std::size_t> counts;
    events.reserve(macros.size());
    for (int number : macros) {
        // A number the library does not have counts as a macro without events.
        const bool known = number >= 0 && static_cast<std::size_t>(number) < library->size();
        events.push_back(known
                             ? MacroFile::ReadEvents(
                                   files, MacroFile::PathOf(libraryFolder, (*library)[number].guid))
                             : std::vector<MacroEvent>{});
        counts.push_back(events.back().size());
    }

    const std::size_t length = MacroImage::Length(counts);
    if (const int overflow = MacroImage::Overflow(length, capacity); overflow > 0) return overflow;
    if (!connected) return 0;

    std::optional<std::vector<uint8_t>> image;
    try {
        image = MacroImage::Build(events);
    } catch (const std::bad_alloc&) {
        return kNoMemory;
    }
    if (!image) return kNoMemory;

    commands.BeginConfig();
    commands.WriteMacroImage(*image);
    commands.EndConfig();
    return 0;
}

}  // namespace model
