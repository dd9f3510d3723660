// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a device needs of its battery/power indicator in the device list.
#include <cstdint>
#include <span>

namespace model {

class IPowerIndicator {
public:
    virtual ~IPowerIndicator() = default;

    static constexpr const char* kInterfaceName = "IPowerIndicator";

    virtual void SetPowerParameter(int value) = 0;
    // A power report: byte 0 battery percentage, 1 power state, 3 wireless flag, 5 phone type.
    virtual void ShowPowerReport(std::span<const uint8_t> report) = 0;
};

}  // namespace model
