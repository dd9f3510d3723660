// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's profile handlers: the buttons of the profile panel, the profile
// switch a pick in the profile combo leads to, the factory defaults button and the page
// tabs. Each works on the current device and its profile panel and does nothing without
// them; the switch works on the device that was current when the pick was made. Device writes are queued on the device; what the user is told about them comes
// with their completion.
//
// UI thread only.
#include <memory>

#include "app/ShellOperations.h"
#include "panels/IPanelShell.h"

namespace model {
class CLumitrekUSBDevice;
}

namespace panels {

class CDeviceProfileUI;

class ProfileOperations {
public:
    // The profile file filter of the open and save dialogs.
    static constexpr const char* kFileFilter = "Profile Files(*.json)|*.json;||";

    explicit ProfileOperations(IPanelShell& shell);
    ProfileOperations(const ProfileOperations&) = delete;
    ProfileOperations& operator=(const ProfileOperations&) = delete;

    // Registers every handler under its operation id.
    void Register(app::ShellOperations& operations);

    // Page `page` (1..8) of the device was chosen: its panel's tab follows.
    static void SelectPage(model::CLumitrekUSBDevice& device, int page);
    static CDeviceProfileUI* PanelOf(model::CLumitrekUSBDevice& device);

    void Add();
    void Delete();
    void Copy();
    void Import();
    void Export();
    void Reset();
    void Rename();
    void ToggleMenu();
    // A pick in the combo names the device the switch (Switch, a moment later) is for.
    void NotePick();
    void Switch();
    void RestoreDefaults();

private:
    // The current device's profile panel, or null.
    CDeviceProfileUI* CurrentPanel();
    // Writes the device's profile as it now is to the device (settings block, macros,
    // keys in the apply order) and tells the user what came of it. Unless the apply
    // stopped, the panels then show the profile again and, in the custom colour mode,
    // the keyboard's colours are loaded again.
    void WriteProfileToDevice(model::CLumitrekUSBDevice& device);
    void SaidNotSaved(bool saved);

    IPanelShell& shell_;
    model::CLumitrekUSBDevice* switchTarget_ = nullptr;
    // Completions of device work that outlive this object do nothing.
    std::shared_ptr<ProfileOperations*> alive_;
};

}  // namespace panels
