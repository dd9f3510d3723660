// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/IKeyListOwner.h"

#include "model/device/CLumitrekUSBDevice.h"

namespace model {

IKeyListOwner* IKeyListOwner::Of(CLumitrekUSBDevice* device) {
    return device != nullptr ? static_cast<IKeyListOwner*>(device->GetInterface(kInterfaceName))
                             : nullptr;
}

}  // namespace model
