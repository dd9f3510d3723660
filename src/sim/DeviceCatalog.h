// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The devices this program serves, as the simulator presents them. The mouse has no
// identifiers in the shipped tables; the simulator gives it its own (see
// device::UseMouseIdentity), one product for each of the two mouse kinds.
#include "sim/SimDeviceDefinition.h"

namespace sim {

const SimDeviceDefinition& KeyboardDefinition();  // 320f:505b
const SimDeviceDefinition& MousePadDefinition();  // 320f:1004
const SimDeviceDefinition& MouseDefinition();     // 320f:7f02, a mouse of kind 2
// The same mouse behind a receiver (kind 6): 320f:7f06, checked with the link query.
const SimDeviceDefinition& LongWaitMouseDefinition();
// The USB headset. The shipped tables know no identifiers for it; these are the
// simulator's own, which --simulate=headset puts into the headset's rows.
const SimDeviceDefinition& HeadsetDefinition();
inline constexpr std::uint16_t kSimHeadsetVendor = 0x320F;
inline constexpr std::uint16_t kSimHeadsetProduct = 0x6533;

}  // namespace sim
