// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A macro file: library folder + identifier + ".mac", one JSON object whose "Events"
// array holds the macro's events in playback order.
#include <filesystem>
#include <string_view>
#include <vector>

#include "data/JsonDataFile.h"
#include "data/macro/MacroEvent.h"

class MacroFile {
public:
    // The file of the macro with that identifier, or an empty path when the identifier
    // is not a plain file name: it comes from a user-editable list and must not lead
    // out of the library folder.
    static std::filesystem::path PathOf(const std::filesystem::path& libraryFolder,
                                        std::string_view guid);

    // The events in file order. A missing or broken file, or one without "Events",
    // has none; an element that is not an object reads as an all-zero "up" event.
    static std::vector<MacroEvent> ReadEvents(const JsonDataFile& files,
                                              const std::filesystem::path& path);

    // "Delay" as the text-to-integer conversion reads it: leading blanks, an optional
    // sign, decimal digits up to the first other character (none: 0); the value's low
    // 16 bits. Values beyond the 32-bit range saturate before they are cut.
    static uint16_t ParseDelay(std::string_view text);
};
