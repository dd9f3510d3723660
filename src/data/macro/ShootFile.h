// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A recoil pattern file, "ShootData_" + slot + ".Shoot": a JSON object whose "Events" hold
// 30 shots of six events each (left button down and up, the horizontal and the vertical
// correction, and the two moves back to rest). The file is the user's to replace (import),
// so nothing in it is trusted: a pattern is used only when it has exactly that shape.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "data/JsonDataFile.h"
#include "data/macro/MacroEvent.h"

class ShootFile {
public:
    static constexpr int kWeapons = 4;
    static constexpr int kShots = 30;
    static constexpr int kEventsPerShot = 6;
    static constexpr int kEvents = kShots * kEventsPerShot;
    // What one correction or delay may hold: the device keeps distances in a byte of the
    // event and delays in 16 bits.
    static constexpr int kMaxDistance = 255;
    static constexpr int kMaxDelay = 0xFFFF;

    struct Shot {
        bool left = false;  // horizontal correction to the left
        int x = 0;
        bool up = false;  // vertical correction upwards
        int y = 0;
        int delay = 0;  // after the shot, in ms
        bool operator==(const Shot&) const = default;
    };

    // folder / "ShootData_<slot>.Shoot"
    static std::filesystem::path PathOf(const std::filesystem::path& folder, int slot);

    enum class Status { Ok, Missing, Malformed };
    struct Pattern {
        Status status = Status::Missing;
        std::vector<MacroEvent> events;  // kEvents of them when Ok, none otherwise
    };
    // The pattern's events in file order, as the device plays them.
    static Pattern ReadPattern(const JsonDataFile& files, const std::filesystem::path& path);
    // A document as read (null: not JSON or beyond the limits): Ok or Malformed.
    static Pattern PatternOf(const Json::Value& root);
    // Whether the bytes of a file read as a pattern (an import is checked before it is
    // taken).
    static bool IsPattern(const std::string& bytes);

    // Shot `shot` of a pattern file; nothing when the file is not a pattern.
    static std::optional<Shot> ReadShot(const JsonDataFile& files,
                                        const std::filesystem::path& path, int shot);
    // Writes the six events of the shot (the values clamped to what the device keeps) and
    // leaves every other member as it was. False, with the file untouched, when the file
    // is not a pattern or could not be replaced.
    static bool WriteShot(const JsonDataFile& files, const std::filesystem::path& path, int shot,
                          const Shot& value);

    // The six events of one shot as the file holds them.
    static std::array<MacroEvent, kEventsPerShot> EventsOf(const Shot& shot);
};
