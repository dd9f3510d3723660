// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A device kind with a key table (the keyboard, the mouse): what the key assignment and
// macro pages need of it, so that renumbering the keys after a macro left the library,
// renaming a macro and saving a key are written once for every such kind.
//
// UI thread only.
#include <span>
#include <vector>

#include "data/KeyMapping.h"
#include "model/device/KeyEntry.h"

namespace model {

class CLumitrekUSBDevice;

class IKeyListOwner {
public:
    static constexpr const char* kInterfaceName = "IKeyListOwner";

    virtual ~IKeyListOwner() = default;

    // The device's key list, null for a kind without keys (or no device).
    static IKeyListOwner* Of(CLumitrekUSBDevice* device);

    // One mapping per key position, as the profile holds them.
    virtual std::vector<KeyMapping> GetKeyList() const = 0;
    // Into the device and its profile (not saved, nothing sent).
    virtual void SetKeyList(const std::vector<KeyMapping>& keys) = 0;
    virtual void SetSelectedKeyMapping(const KeyMapping& mapping) = 0;
    // Everything the page shows of the key list follows it (the picture's labels and
    // tool-tips, the mouse's key info list).
    virtual void RefreshKeyLabels() = 0;
    // The factory entry of each key position: what a key's own name is looked up by.
    virtual std::span<const KeyEntry> FactoryKeys() const = 0;
};

}  // namespace model
