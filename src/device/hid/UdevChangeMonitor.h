// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Hot-plug news for hidraw nodes from a udev monitor. It listens to udevd's events when
// udevd runs (the node's permissions are then final), else to the kernel's own.
#include <memory>

#include "device/hid/HidChangeMonitor.h"

struct udev;
struct udev_monitor;

namespace device {

class UdevChangeMonitor : public HidChangeMonitor {
public:
    // Nullptr when no monitor can be set up.
    static std::unique_ptr<UdevChangeMonitor> Create();
    ~UdevChangeMonitor() override;
    UdevChangeMonitor(const UdevChangeMonitor&) = delete;
    UdevChangeMonitor& operator=(const UdevChangeMonitor&) = delete;

    int fd() const override;
    bool TakeChanges() override;

private:
    UdevChangeMonitor(struct udev* udev, struct udev_monitor* monitor) : udev_(udev), monitor_(monitor) {}

    struct udev* udev_;
    struct udev_monitor* monitor_;
};

}  // namespace device
