// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a ".mac" file: the events handed out stay within the stated limits, the
// device reader and the editor's reader agree on how many there are, and what is saved
// from them loads back unchanged.
#include "data/JsonAccess.h"
#include "data/macro/MacroFile.h"
#include "data/macro/MacroLibrary.h"
#include "fuzz/FuzzSupport.h"

namespace {

const std::string kGuid = "2024_01_01_00_00_00_000";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::filesystem::path folder = fuzz::FreshFolder();
    const std::string original(fuzz::AsText(data, size));
    const std::filesystem::path file = MacroFile::PathOf(folder, kGuid);
    fuzz::WriteBytes(file, original);
    const MacroLibrary library(folder);

    bool cut = false;
    const std::vector<Json::Value> events = library.LoadEvents(kGuid, &cut);
    FUZZ_CHECK(events.size() <= MacroLibrary::kMaxLoadedEvents);
    for (const Json::Value& event : events) {
        FUZZ_CHECK(event.isObject());
        const uint16_t delay = MacroLibrary::ShownDelay(JsonAccess::ReadText(event, "Delay"));
        FUZZ_CHECK(MacroLibrary::DelayText(JsonAccess::ReadText(event, "Delay")) ==
                   std::to_string(delay));
    }
    const std::vector<MacroEvent> device = MacroFile::ReadEvents(JsonDataFile(), file);
    FUZZ_CHECK(fuzz::ReadBytes(file) == original);
    if (!cut) FUZZ_CHECK(device.size() >= events.size());

    // Saved and loaded again: the same events, each "Delay" as the editor shows it.
    FUZZ_CHECK(library.SaveEvents(kGuid, "fuzz", events));
    const std::vector<Json::Value> again = library.LoadEvents(kGuid);
    FUZZ_CHECK(again.size() == events.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        Json::Value expected = events[i];
        expected["Delay"] = MacroLibrary::DelayText(JsonAccess::ReadText(events[i], "Delay"));
        FUZZ_CHECK(again[i] == expected);
    }
    FUZZ_CHECK(MacroFile::ReadEvents(JsonDataFile(), file).size() == events.size());
    return 0;
}
