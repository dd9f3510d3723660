// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What Qt must be told before its application object exists.
namespace ui::qt {

class QtEnvironment {
public:
    // The skin scales itself by its DPI value; Qt's own high-DPI scaling would scale the
    // result a second time, so it is turned off (unless the user set it explicitly).
    static void Prepare();
    // For work that needs no display (screenshots): Qt's offscreen platform, unless the
    // user chose a platform.
    static void PrepareHeadless();
};

}  // namespace ui::qt
