// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a device needs of its page's profile panel ("DeviceProfileItem").
#include <filesystem>
#include <string>

namespace model {

class CLumitrekUSBDevice;

class IProfilePanel {
public:
    virtual ~IProfilePanel() = default;

    static constexpr const char* kInterfaceName = "IProfilePanel";
    static constexpr const char* kControlName = "DeviceProfileItem";

    virtual void AttachDevice(CLumitrekUSBDevice* device) = 0;
    virtual void SetKindCode(int kind) = 0;
    virtual void SetFolders(const std::filesystem::path& userFolder,
                            const std::filesystem::path& defaultProfile) = 0;
    // Reads (or creates) the profile list and fills the combo from it.
    virtual void InitProfileList() = 0;
    // Refills the combo from the list file as it is now, the stored selection selected,
    // without raising a selection notification.
    virtual void ReloadProfileList() = 0;
    virtual void SelectTab(int tab) = 0;
    // The UUID of the selected profile: the base name of the device's profile file.
    virtual std::string GetSelectedUUID() const = 0;
    // The display name of the profile whose file is `file` (empty when none is).
    virtual std::string ProfileNameOf(const std::filesystem::path& file) const = 0;
    // A profile file rebuilt from the defaults gets its "profilename" and "profileUUID"
    // back from the list, so that it still exports and imports as that profile.
    virtual void RestoreProfileIdentity(const std::filesystem::path& file) = 0;
};

}  // namespace model
