// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/FaultPlan.h"

namespace sim {

void FaultPlan::Arm(const Fault& fault) {
    if (fault.times <= 0) return;
    std::lock_guard lock(mutex_);
    faults_.push_back(fault);
}

void FaultPlan::Clear() {
    std::lock_guard lock(mutex_);
    faults_.clear();
}

bool FaultPlan::Empty() const {
    std::lock_guard lock(mutex_);
    return faults_.empty();
}

std::optional<Fault> FaultPlan::Take(std::uint8_t command) {
    std::lock_guard lock(mutex_);
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->command >= 0 && it->command != command) continue;
        if (it->skip > 0) {
            --it->skip;
            return std::nullopt;
        }
        Fault fault = *it;
        if (--it->times <= 0) faults_.erase(it);
        return fault;
    }
    return std::nullopt;
}

}  // namespace sim
