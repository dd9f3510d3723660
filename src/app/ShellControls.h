// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Makes the shell's and the device model's control classes known to the control factory
// under their class names, beside the library's own program controls.
namespace app {

void RegisterShellControls();

}  // namespace app
