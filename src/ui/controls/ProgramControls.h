// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Makes the program's own control classes known to the control factory, so that layouts
// can name them: under the C++ class name ("CDeviceKeyButtonUI") for every class, and under
// the element name ("DeviceKeyButton") for those that layouts write as elements.
namespace ui {

void RegisterProgramControls();

}  // namespace ui
