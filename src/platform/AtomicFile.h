// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file is replaced whole or not at all: the new bytes go to a temporary file in the
// same folder, are flushed to disk and renamed over the old name. A crash, a full disk or
// a killed process leaves either the old file or the new one, never a mix.
#include <filesystem>
#include <string_view>

namespace platform {

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace platform
