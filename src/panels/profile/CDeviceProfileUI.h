// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The profile panel of a device page ("DeviceProfileItem"): the combo of the kind's
// profiles, the name edit, the menu of profile actions and the row of page tabs. It owns
// the kind's "ProfileList.ini" and the profile files' names and UUIDs; what a profile
// holds is the device's business (CBasicProfiledata).
//
// Every change re-reads the list file first and writes it back whole. The combo mirrors
// the list: item i is profile i, and the combo's selection is the selected profile.
//
// UI thread only.
#include <filesystem>
#include <string>
#include <vector>

#include "data/JsonDataFile.h"
#include "data/ProfileListFile.h"
#include "model/device/IProfilePanel.h"
#include "ui/CHorizontalLayoutUI.h"

namespace ui {
class CComboUI;
class CEditUI;
}  // namespace ui

namespace panels {

class CDeviceProfileUI : public ui::CHorizontalLayoutUI, public model::IProfilePanel {
public:
    static constexpr int kMaxProfiles = 50;
    static constexpr int kTabCount = 8;

    // What an import or export came to.
    enum class Transfer {
        Done,
        NotValid,  // the file is not a profile: nothing changed (the user is not told)
        Failed,    // a file could not be read or written: nothing changed
    };
    // What RenameProfile answers.
    enum Rename { kNameTaken = 0, kRenamed = 1, kNameEmpty = 2, kNotSaved = 3, kNoProfile = -1 };

    std::string GetClass() const override;
    // "DeviceProfile" gives this panel, model::IProfilePanel::kInterfaceName its
    // interface; other names go to the layout.
    void* GetInterface(std::string_view name) override;

    // ---- model::IProfilePanel
    void AttachDevice(model::CLumitrekUSBDevice* device) override { device_ = device; }
    void SetKindCode(int kind) override { kind_ = kind; }
    void SetFolders(const std::filesystem::path& userFolder,
                    const std::filesystem::path& defaultProfile) override;
    void InitProfileList() override;
    void ReloadProfileList() override;
    void SelectTab(int tab) override;
    std::string GetSelectedUUID() const override { return selectedUuid_; }
    std::string ProfileNameOf(const std::filesystem::path& file) const override;
    void RestoreProfileIdentity(const std::filesystem::path& file) override;

    model::CLumitrekUSBDevice* Device() const { return device_; }
    int GetKindCode() const { return kind_; }

    // Selects item `index` (notifying "itemselect" only when `notify`), shows its name in
    // the edit and stores it as the selected profile.
    void SelectProfile(int index, bool notify);
    int GetSelectedIndex();
    std::string GetNameEditText();
    void SetNameEditText(const std::string& text);
    void ShowProfileMenu(bool show);
    bool IsProfileMenuVisible();

    // Each returns false when the list (or the new profile's file) could not be written;
    // nothing visible changes then. AddProfile also answers true when the list is full
    // (it then adds nothing).
    bool AddProfile();
    bool DeleteProfile();
    bool CopyProfile();
    Transfer ImportProfile(const std::filesystem::path& path);
    Transfer ExportProfile(const std::filesystem::path& path);
    bool ResetProfile();
    int RenameProfile(const std::string& name);

    int ProfileCount();
    // The profiles' names in list order, as the list file now holds them.
    std::vector<std::string> ProfileNames();
    // Profile `index` written to `path`, whether it is the selected one or not.
    Transfer ExportProfileAt(int index, const std::filesystem::path& path);

private:
    ui::CComboUI* Combo();
    ui::CEditUI* NameEdit();
    ui::CControlUI* Find(std::string_view name);
    void AddComboItem(const std::string& name);
    void FillCombo();
    // A profile file made from `source` (null: only the two root members), named.
    bool WriteProfileFile(Json::Value source, const ProfileListFile::Entry& entry);
    // Appends `entry` to the list file as it is now; false when it could not be written.
    bool AppendToList(const ProfileListFile::Entry& entry);
    // A UUID no profile file of the folder has yet.
    std::string NewUuid() const;
    void ShowTabsOfKind();

    model::CLumitrekUSBDevice* device_ = nullptr;
    int kind_ = 0;
    std::filesystem::path userFolder_;
    std::filesystem::path defaultProfile_;
    ProfileListFile list_;
    std::string selectedUuid_;
    JsonDataFile files_;
    ui::CComboUI* combo_ = nullptr;
    ui::CEditUI* nameEdit_ = nullptr;
};

}  // namespace panels
