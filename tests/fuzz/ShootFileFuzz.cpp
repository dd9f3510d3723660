// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a ".Shoot" recoil pattern file: it is a pattern of exactly 180 events or
// none at all, the reader of bytes (import) and the reader of the file agree, a shot is
// written only into a pattern and leaves every other shot as it was, and a file that is no
// pattern is never changed.
#include "data/macro/ShootFile.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::filesystem::path folder = fuzz::FreshFolder();
    const std::string original(fuzz::AsText(data, size));
    const std::filesystem::path file = ShootFile::PathOf(folder, 1);
    fuzz::WriteBytes(file, original);
    const JsonDataFile files;

    const ShootFile::Pattern pattern = ShootFile::ReadPattern(files, file);
    const bool whole = pattern.status == ShootFile::Status::Ok;
    FUZZ_CHECK(pattern.events.size() == (whole ? std::size_t{ShootFile::kEvents} : 0u));
    FUZZ_CHECK(pattern.status != ShootFile::Status::Missing);
    FUZZ_CHECK(ShootFile::IsPattern(original) == whole);
    FUZZ_CHECK(fuzz::ReadBytes(file) == original);

    const ShootFile::Shot shot{true, 300, false, -4, 70000};
    const bool written = ShootFile::WriteShot(files, file, 7, shot);
    if (!whole) {
        FUZZ_CHECK(!written);
        FUZZ_CHECK(fuzz::ReadBytes(file) == original);
        return 0;
    }
    FUZZ_CHECK(written);
    const ShootFile::Pattern after = ShootFile::ReadPattern(files, file);
    FUZZ_CHECK(after.status == ShootFile::Status::Ok);
    const auto events = ShootFile::EventsOf(shot);
    for (int i = 0; i < ShootFile::kEvents; ++i) {
        const bool inShot = i / ShootFile::kEventsPerShot == 7;
        const MacroEvent& expected =
            inShot ? events[static_cast<std::size_t>(i % ShootFile::kEventsPerShot)]
                   : pattern.events[static_cast<std::size_t>(i)];
        FUZZ_CHECK(after.events[static_cast<std::size_t>(i)] == expected);
    }
    return 0;
}
