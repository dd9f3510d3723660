#pragma once
// The devices this program serves, as the simulator presents them.
#include "sim/SimDeviceDefinition.h"

namespace sim {

const SimDeviceDefinition& KeyboardDefinition();  // 320f:505b
const SimDeviceDefinition& MousePadDefinition();  // 320f:1004
// The USB headset. The shipped tables know no identifiers for it; these are the
// simulator's own, which --simulate=headset puts into the headset's rows.
const SimDeviceDefinition& HeadsetDefinition();
inline constexpr std::uint16_t kSimHeadsetVendor = 0x320F;
inline constexpr std::uint16_t kSimHeadsetProduct = 0x6533;

}  // namespace sim
