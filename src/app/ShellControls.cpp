// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ShellControls.h"

#include "app/CDeviceOptionUI.h"
#include "app/CMpDevicePowerUI.h"
#include "model/device/CLumitrekMousePadDevice.h"
#include "model/device/CLumitrekUSBDevice.h"
#include "model/device/CLumitrekZO6533Device.h"
#include "ui/CControlFactory.h"

namespace app {

void RegisterShellControls() {
    ui::CControlFactory& factory = ui::CControlFactory::GetInstance();
    factory.RegistControl("CDeviceOptionUI", [] { return new CDeviceOptionUI(); });
    factory.RegistControl("CMpDevicePowerUI", [] { return new CMpDevicePowerUI(); });
    factory.RegistControl("CLumitrekUSBDevice", [] { return new model::CLumitrekUSBDevice(); });
    factory.RegistControl("CLumitrekMousePadDevice",
                          [] { return new model::CLumitrekMousePadDevice(); });
    factory.RegistControl("CLumitrekZO6533Device",
                          [] { return new model::CLumitrekZO6533Device(); });
}

}  // namespace app
