// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the input hook hands with each event it reports (the lParam of its messages): the
// key as the key tables know it, or the mouse event with its point. Valid only while the
// message is handled.
#include <cstdint>

namespace ui {

// Key messages: wParam 256 press, 257 release.
struct KeyHookRecord {
    std::uint32_t virtualKey = 0;
    std::uint32_t scanCode = 0;  // set 1
    std::uint32_t flags = 0;     // bit 0: extended key
};

// Mouse messages: wParam 513/514 left press/release, 516/517 right, 519/520 middle,
// 523/524 extra button (the high 16 bits of mouseData: 1 back, 2 forward).
struct MouseHookRecord {
    std::int32_t x = 0;  // the point in screen coordinates
    std::int32_t y = 0;
    std::uint32_t mouseData = 0;
};

inline constexpr unsigned kKeyDownMessage = 256;
inline constexpr unsigned kKeyUpMessage = 257;

}  // namespace ui
