// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a device needs of its page's macro panel ("MacroControlItem").
#include <filesystem>
#include <string>
#include <vector>

namespace model {

class CLumitrekUSBDevice;

class IMacroPanel {
public:
    virtual ~IMacroPanel() = default;

    static constexpr const char* kInterfaceName = "IMacroPanel";
    static constexpr const char* kControlName = "MacroControlItem";

    virtual void AttachDevice(CLumitrekUSBDevice* device) = 0;
    virtual void SetLibraryFolder(const std::filesystem::path& folder) = 0;
    virtual void LoadMacroList() = 0;
    // The macro names as read by LoadMacroList, in library order.
    virtual std::vector<std::string> GetMacroNames() const = 0;
};

}  // namespace model
