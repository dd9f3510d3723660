// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BackgroundDuties.h"

#include <algorithm>

namespace app {

void BackgroundDuties::Claim(const std::string& name, Active active) {
    for (Duty& duty : duties_) {
        if (duty.name == name) {
            duty.active = std::move(active);
            return;
        }
    }
    duties_.push_back(Duty{name, std::move(active)});
}

void BackgroundDuties::Release(const std::string& name) {
    std::erase_if(duties_, [&name](const Duty& duty) { return duty.name == name; });
}

bool BackgroundDuties::AnyActive() const {
    return std::any_of(duties_.begin(), duties_.end(),
                       [](const Duty& duty) { return duty.active && duty.active(); });
}

std::vector<std::string> BackgroundDuties::ActiveNames() const {
    std::vector<std::string> names;
    for (const Duty& duty : duties_) {
        if (duty.active && duty.active()) names.push_back(duty.name);
    }
    return names;
}

}  // namespace app
