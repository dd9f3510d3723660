// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Device kind and role codes, shared by the tables, the scanner and the device objects.
#include <cstdint>

namespace device {

inline constexpr uint16_t kKindKeyboard = 1;
inline constexpr uint16_t kKindMouse = 2;
inline constexpr uint16_t kKindMousePad = 3;
inline constexpr uint16_t kKindMouseLongWait = 6;  // a mouse whose channel waits 5000 ms
inline constexpr uint16_t kKindHeadset = 7;

inline constexpr uint16_t kRoleCommand = 0;   // the vendor command collection
inline constexpr uint16_t kRoleEvent = 0xFF;  // the consumer collection the listener reads

}  // namespace device
