#pragma once
// The two devices this program serves, as the simulator presents them.
#include "sim/SimDeviceDefinition.h"

namespace sim {

const SimDeviceDefinition& KeyboardDefinition();  // 320f:505b
const SimDeviceDefinition& MousePadDefinition();  // 320f:1004

}  // namespace sim
