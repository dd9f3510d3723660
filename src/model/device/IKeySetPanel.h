// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a device needs of its page's key assignment panel ("KeySetControlItem").
#include <string>
#include <vector>

#include "data/KeyMapping.h"

namespace model {

class CLumitrekUSBDevice;

class IKeySetPanel {
public:
    virtual ~IKeySetPanel() = default;

    static constexpr const char* kInterfaceName = "IKeySetPanel";
    static constexpr const char* kControlName = "KeySetControlItem";

    virtual void AttachDevice(CLumitrekUSBDevice* device) = 0;
    virtual void BindControls() = 0;
    virtual void SetDeviceKind(int kind) = 0;
    virtual void FillMacroNames(const std::vector<std::string>& names) = 0;
    // The library changed by one macro: its combo follows without losing its selection.
    virtual void AddMacroName(const std::string& name) = 0;
    virtual void RemoveMacroName(int index) = 0;
    virtual void RenameMacroName(int index, const std::string& name) = 0;
    // Shows a key's mapping (current and default halves).
    virtual void SetKeyMapping(const KeyMapping& mapping) = 0;
    // Rewrites the labels of the device picture's key buttons from the device's key list.
    virtual void RefreshKeyLabels() = 0;
    // Apply, undo and "write to the keyboard" are offered while there is something to
    // write.
    virtual void SetSaveButtonsEnabled(bool enabled) = 0;
};

}  // namespace model
