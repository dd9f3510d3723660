// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One pointer-correction preset of a mouse profile (read only; ships in the default profile).
#include <cstdint>
#include <string>

struct CorrectEntry {
    uint8_t pixThreshold = 0;
    uint8_t minSquare = 0;
    uint8_t selection = 0;
    std::string name;

    bool operator==(const CorrectEntry&) const = default;
};
