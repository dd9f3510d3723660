// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing the macros that keys play into the keyboard's macro memory: the listed library
// macros are read from their files, laid out as one image and sent when the image fits.
//
// Result: 0 when written or when there is nothing to write (the list is empty or the
// library's list file cannot be read: the device keeps its macros); a positive number
// when the image exceeds the memory (nothing is sent; the number is what the user is
// told); -1 when the image cannot be built.
#include <cstddef>
#include <filesystem>
#include <vector>

#include "data/JsonDataFile.h"
#include "device/protocol/CommandSet.h"

namespace model {

class MacroDownload {
public:
    static constexpr int kNoMemory = -1;

    // `capacity` is the macro memory in bytes. With `connected` false nothing is built or
    // sent, but the answer is the same.
    static int Write(device::CommandSet& commands, bool connected, std::size_t capacity,
                     const std::filesystem::path& libraryFolder, const std::vector<int>& macros,
                     const JsonDataFile& files);
};

}  // namespace model
