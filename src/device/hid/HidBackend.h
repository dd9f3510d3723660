// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where HidDevice gets its collections from: hidraw on this machine, or the in-process
// virtual bus. Nothing above this interface knows which backend runs.
#include <memory>
#include <string>
#include <vector>

#include "device/hid/HidChangeMonitor.h"
#include "device/hid/HidConnection.h"

namespace device {

struct HidOpenMode {
    bool read = false;
    bool write = false;
    bool exclusive = false;  // refuse when another writer holds the collection (and keep others out)
};

class HidBackend {
public:
    virtual ~HidBackend() = default;

    // One path per top-level collection of every HID interface present, in a stable
    // order (node by node, collections in descriptor order). False when the listing
    // itself failed.
    virtual bool Enumerate(std::vector<std::string>& paths) = 0;

    // Nullptr when the path does not open (gone, no permission, unreadable descriptor).
    // A mode with neither read nor write opens for attributes only, touching nothing.
    virtual std::shared_ptr<HidConnection> Open(const std::string& path, const HidOpenMode& mode) = 0;

    // Whether the collection behind the path is still attached. Never opens the device,
    // so channels open on it are not disturbed.
    virtual bool IsPresent(const std::string& path) = 0;

    // A change notifier, or nullptr when the backend cannot tell (then callers poll).
    virtual std::unique_ptr<HidChangeMonitor> WatchChanges() = 0;

    // The backend a HidDevice uses when none is given: hidraw unless replaced (the
    // simulated devices of --simulate and tests). Passing nullptr restores hidraw.
    static std::shared_ptr<HidBackend> Default();
    static void SetDefault(std::shared_ptr<HidBackend> backend);
};

}  // namespace device
