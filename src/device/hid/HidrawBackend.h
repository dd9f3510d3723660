// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real backend: every hidraw node listed from sysfs, one path per top-level
// collection ("/dev/hidraw3#vid_320f&pid_505b&mi_01&col04"), non-blocking reads polled
// beside the stop event, and a udev monitor that tells the scanner when to look again.
#include <filesystem>

#include "device/hid/HidBackend.h"

namespace device {

class HidrawBackend : public HidBackend {
public:
    // The roots are for tests on a fake tree; the defaults are the machine's.
    explicit HidrawBackend(std::filesystem::path sysRoot = "/sys", std::filesystem::path devRoot = "/dev");

    bool Enumerate(std::vector<std::string>& paths) override;
    std::shared_ptr<HidConnection> Open(const std::string& path, const HidOpenMode& mode) override;
    bool IsPresent(const std::string& path) override;
    std::unique_ptr<HidChangeMonitor> WatchChanges() override;

    // Every hidraw node, readable or not (for --diagnose).
    std::vector<std::filesystem::path> NodeDirs() const;
    const std::filesystem::path& DevRoot() const { return devRoot_; }

private:
    std::filesystem::path ClassDirOf(const std::string& path) const;

    std::filesystem::path sysRoot_;
    std::filesystem::path devRoot_;
};

}  // namespace device
