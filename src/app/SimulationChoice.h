// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which simulated devices a run attaches (--simulate[=WHICH]).
#include <optional>
#include <string>
#include <string_view>

namespace app {

struct SimulationChoice {
    bool keyboard = false;
    bool pad = false;
    bool mouse = false;
    // The simulated mouse is the receiver mouse of kind 6 (link query, long time limit).
    bool mouseLongWait = false;
    bool headset = false;
    // "capture:FILE": the devices of a capture stand in for all of the above.
    std::string captureFile;
    bool Any() const { return keyboard || pad || mouse || headset || !captureFile.empty(); }
    // "" (keyboard and pad), "keyboard", "pad", "mouse", "mouse6" (the kind-6 mouse),
    // "headset", "all", "none", "capture:FILE"; nothing for anything else.
    static std::optional<SimulationChoice> Parse(std::string_view value);
};

}  // namespace app
