// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SimulationChoice.h"

namespace app {

std::optional<SimulationChoice> SimulationChoice::Parse(std::string_view value) {
    SimulationChoice choice;
    if (value.empty()) {
        choice.keyboard = choice.pad = true;
    } else if (value == "all") {
        choice.keyboard = choice.pad = choice.mouse = choice.headset = true;
    } else if (value == "keyboard") {
        choice.keyboard = true;
    } else if (value == "pad") {
        choice.pad = true;
    } else if (value == "mouse" || value == "mouse6") {
        choice.mouse = true;
        choice.mouseLongWait = value == "mouse6";
    } else if (value.rfind("capture:", 0) == 0) {
        choice.captureFile = std::string(value.substr(8));
        if (choice.captureFile.empty()) return std::nullopt;
    } else if (value == "headset") {
        choice.headset = true;
    } else if (value != "none") {
        return std::nullopt;
    }
    return choice;
}

}  // namespace app
