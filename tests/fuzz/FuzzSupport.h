// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the fuzz targets share: a check that aborts with a message (libFuzzer keeps the
// input that tripped it), a scratch folder of the process, and whole-folder snapshots to
// prove that a refused input changed no file.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace fuzz {

[[noreturn]] void Fail(const char* condition, const char* file, int line);

#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::fuzz::Fail(#condition, __FILE__, __LINE__))

// A fresh, empty folder under the process's scratch folder (removed at exit).
std::filesystem::path FreshFolder();

void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
std::string ReadBytes(const std::filesystem::path& path);

// Every regular file below `folder`, by path relative to it, with its bytes.
using Snapshot = std::map<std::string, std::string>;
Snapshot TakeSnapshot(const std::filesystem::path& folder);

inline std::string_view AsText(const uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A small keyboard default profile made once from the shipped one (the whole file costs
// tens of milliseconds a read under the sanitizers; its first keys are as good).
const std::filesystem::path& SmallKeyboardDefaults();

// Splits the input at the first occurrence of `separator`: the part before it and the rest.
std::pair<std::string_view, std::string_view> SplitAt(std::string_view text,
                                                      std::string_view separator);

}  // namespace fuzz
