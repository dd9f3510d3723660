// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/UdevChangeMonitor.h"

#include <libudev.h>
#include <unistd.h>

namespace device {

std::unique_ptr<UdevChangeMonitor> UdevChangeMonitor::Create() {
    struct udev* u = udev_new();
    if (!u) return nullptr;
    const char* source = ::access("/run/udev/control", F_OK) == 0 ? "udev" : "kernel";
    struct udev_monitor* m = udev_monitor_new_from_netlink(u, source);
    if (!m || udev_monitor_filter_add_match_subsystem_devtype(m, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(m) < 0) {
        if (m) udev_monitor_unref(m);
        udev_unref(u);
        return nullptr;
    }
    return std::unique_ptr<UdevChangeMonitor>(new UdevChangeMonitor(u, m));
}

UdevChangeMonitor::~UdevChangeMonitor() {
    udev_monitor_unref(monitor_);
    udev_unref(udev_);
}

int UdevChangeMonitor::fd() const { return udev_monitor_get_fd(monitor_); }

bool UdevChangeMonitor::TakeChanges() {
    bool changed = false;
    // The monitor's socket is non-blocking: this drains what is queued and returns.
    while (struct udev_device* d = udev_monitor_receive_device(monitor_)) {
        changed = true;
        udev_device_unref(d);
    }
    return changed;
}

}  // namespace device
