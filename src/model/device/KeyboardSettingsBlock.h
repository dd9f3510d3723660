// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard's settings block: 26 bytes at offset profile index x 25 of its settings
// memory. Byte 0 is the active profile index, bytes 1-8 the lighting, 18 the secondary
// mode, 19-22 the switches and the polling rate, 25 the custom-colour group; the device
// keeps the speed as 4 - speed and the six-key flag inverted. Repeat and repeat delay
// live in the profile only.
#include <array>
#include <cstdint>

#include "data/LightSetting.h"
#include "model/device/SystemStages.h"

namespace model {

// The lighting as the keyboard last reported it.
struct DeviceLightState {
    uint8_t mode = 0;
    uint8_t brightness = 0;
    uint8_t speed = 0;
    uint8_t direction = 0;
    uint8_t multiColour = 0;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t zzccMode = 0;
    uint8_t customGroup = 0;

    bool operator==(const DeviceLightState&) const = default;
};

class KeyboardSettingsBlock {
public:
    static constexpr std::size_t kSize = 26;
    static constexpr unsigned kStride = 25;
    // Modes from here on are the program's own light programs; the keyboard plays
    // nothing for them, so it is told mode 0.
    static constexpr uint8_t kFirstHostOnlyMode = 21;

    // What the keyboard understands besides the levels of LightSetting; a value from a
    // file or a script beyond these is sent as the nearest it understands, never raw.
    static constexpr uint8_t kMaxPollingRate = 3;
    // The colour groups (pages) the lighting page offers: 0..4.
    static constexpr uint8_t kMaxCustomGroup = 4;
    static uint8_t ColourPage(uint8_t group) {
        return group > kMaxCustomGroup ? kMaxCustomGroup : group;
    }

    using Bytes = std::array<uint8_t, kSize>;

    static Bytes Encode(uint8_t byte0, const LightSetting& light, const SystemStages& stages);

    // What a block read back means. The copy kept has byte 16 cleared.
    struct Decoded {
        Bytes kept{};
        DeviceLightState light;
        uint16_t key6Flag = 0;
        uint16_t wFlag = 0;
        uint16_t winFlag = 0;
    };
    static Decoded Decode(const Bytes& block);

    // The two blocks agree on every byte a connection takes from the keyboard into the
    // profile: the lighting, the secondary mode and the three switches (the polling rate
    // and the colour group are the profile's alone).
    static bool SameTakenSettings(const Bytes& a, const Bytes& b);
};

}  // namespace model
