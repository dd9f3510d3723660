// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/profile/CDeviceProfileUI.h"

#include <array>
#include <system_error>

#include "data/JsonAccess.h"
#include "data/ProfileDocument.h"
#include "data/ProfileNames.h"
#include "device/scanner/DeviceKind.h"
#include "model/device/CLumitrekUSBDevice.h"
#include "platform/TextCompare.h"
#include "ui/CComboUI.h"
#include "ui/CEditUI.h"
#include "ui/CListLabelElementUI.h"
#include "ui/COptionUI.h"

namespace panels {

namespace {

constexpr int kProfileItemHeight = 30;
constexpr const char* kName = ProfileDocument::kName;
constexpr const char* kUuid = ProfileDocument::kUuid;

constexpr std::array<const char*, CDeviceProfileUI::kTabCount> kTabs = {
    "deng_Op_tab",   "key_Op_tab",        "macro_Op_tab", "system_Op_tab",
    "cursor_Op_tab", "6533_voice_Op_tab", "magic_Op_tab", "Virtual7.1_Op_tab"};
enum Tab { kLighting, kKeys, kMacros, kSystem, kCursor, kVoice, kMagic, kVirtual };

void RemoveQuietly(const std::filesystem::path& path) {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove(path, ignored);
}

}  // namespace

std::string CDeviceProfileUI::GetClass() const {
    return "DeviceProfileUI";
}

void* CDeviceProfileUI::GetInterface(std::string_view name) {
    if (name == "DeviceProfile") return this;
    if (name == model::IProfilePanel::kInterfaceName)
        return static_cast<model::IProfilePanel*>(this);
    return CHorizontalLayoutUI::GetInterface(name);
}

void CDeviceProfileUI::SetFolders(const std::filesystem::path& userFolder,
                                  const std::filesystem::path& defaultProfile) {
    userFolder_ = userFolder;
    defaultProfile_ = defaultProfile;
    list_.SetFolder(userFolder);
}

// ---- controls

ui::CControlUI* CDeviceProfileUI::Find(std::string_view name) {
    return FindSubControl(name);
}

ui::CComboUI* CDeviceProfileUI::Combo() {
    if (combo_ == nullptr)
        if (ui::CControlUI* control = Find("device_profile_combo"))
            combo_ = static_cast<ui::CComboUI*>(control->GetInterface("Combo"));
    return combo_;
}

ui::CEditUI* CDeviceProfileUI::NameEdit() {
    if (nameEdit_ == nullptr)
        if (ui::CControlUI* control = Find("device_profile_name_edit"))
            nameEdit_ = static_cast<ui::CEditUI*>(control->GetInterface("Edit"));
    return nameEdit_;
}

int CDeviceProfileUI::ProfileCount() {
    return Combo() != nullptr ? Combo()->GetCount() : 0;
}

int CDeviceProfileUI::GetSelectedIndex() {
    return Combo() != nullptr ? Combo()->GetCurSel() : -1;
}

std::string CDeviceProfileUI::GetNameEditText() {
    return NameEdit() != nullptr ? NameEdit()->GetText() : std::string();
}

void CDeviceProfileUI::SetNameEditText(const std::string& text) {
    if (NameEdit() != nullptr) NameEdit()->SetText(text);
}

void CDeviceProfileUI::ShowProfileMenu(bool show) {
    if (ui::CControlUI* menu = Find("profile_menu_layout")) menu->SetVisible(show);
}

bool CDeviceProfileUI::IsProfileMenuVisible() {
    ui::CControlUI* menu = Find("profile_menu_layout");
    return menu != nullptr && menu->IsOwnVisible();
}

void CDeviceProfileUI::SelectTab(int tab) {
    for (int i = 0; i < kTabCount; ++i) {
        ui::CControlUI* control = Find(kTabs[i]);
        auto* option =
            control ? static_cast<ui::COptionUI*>(control->GetInterface("Option")) : nullptr;
        if (option != nullptr) option->Selected(i == tab, false);
    }
}

void CDeviceProfileUI::ShowTabsOfKind() {
    std::array<bool, kTabCount> shown{true, true, true, true, true, false, false, false};
    switch (kind_) {
        case device::kKindKeyboard:
            shown[kCursor] = false;
            break;
        case device::kKindMousePad:
        case 4:
        case 5:
            shown[kCursor] = shown[kMacros] = shown[kKeys] = false;
            shown[kSystem] = kind_ == 4;
            break;
        case device::kKindHeadset:
            shown[kCursor] = shown[kMacros] = shown[kSystem] = shown[kKeys] = false;
            shown[kVoice] = shown[kMagic] = shown[kVirtual] = true;
            break;
        default:
            break;
    }
    for (int i = 0; i < kTabCount; ++i)
        if (ui::CControlUI* tab = Find(kTabs[i])) tab->SetVisible(shown[i]);
}

void CDeviceProfileUI::AddComboItem(const std::string& name) {
    if (Combo() == nullptr) return;
    auto* item = new ui::CListLabelElementUI();
    // A profile's name is the user's text, never a language key or markup.
    item->SetResourceText(false);
    item->SetShowHtml(false);
    item->SetFixedHeight(kProfileItemHeight);
    item->SetText(name);
    item->SetUserData(name);
    Combo()->Add(item);
}

void CDeviceProfileUI::FillCombo() {
    if (Combo() == nullptr) return;
    Combo()->RemoveAll();
    for (int i = 0; i < list_.Count(); ++i) AddComboItem(list_.At(i).name);
}

// ---- the list

void CDeviceProfileUI::InitProfileList() {
    list_.Read();
    if (list_.Count() == 0) {
        // A list that was lost is rebuilt from the profile files it named, which name
        // themselves; only a folder without any starts again with "profile1".
        const std::vector<ProfileListFile::Entry> found = list_.FindProfileFiles();
        list_.Clear();
        list_.SetSelected(0);
        if (!found.empty()) {
            for (std::size_t i = 0; i < found.size() && i < kMaxProfiles; ++i)
                list_.Put(static_cast<int>(i), found[i]);
            list_.Write();
        } else {
            const ProfileListFile::Entry first{"profile1", NewUuid()};
            list_.Put(0, first);
            list_.Write();
            WriteProfileFile(files_.ReadJsonFile(defaultProfile_), first);
        }
    }
    FillCombo();
    const int selected = list_.Selected();
    SelectProfile(selected >= 0 && selected < list_.Count() ? selected : 0, false);
    ShowTabsOfKind();
}

void CDeviceProfileUI::ReloadProfileList() {
    list_.Read();
    if (list_.Count() == 0) return;  // nothing better to show than what is shown
    FillCombo();
    const int selected = list_.Selected();
    SelectProfile(selected >= 0 && selected < list_.Count() ? selected : 0, false);
}

void CDeviceProfileUI::SelectProfile(int index, bool notify) {
    if (Combo() == nullptr || index < 0 || index >= Combo()->GetCount()) return;
    Combo()->SelectItem(index, true, notify);
    SetNameEditText(Combo()->GetItemAt(index)->GetText());
    list_.Read();
    list_.SetSelected(index);
    selectedUuid_ = list_.At(index).uuid;
    list_.Write();
}

std::string CDeviceProfileUI::NewUuid() const {
    // Two profiles made within one millisecond must not share a file.
    return files_.MakeFreeTimeStampName([this](const std::string& uuid) {
        if (std::filesystem::exists(list_.ProfileFile(uuid))) return true;
        for (int i = 0; i < list_.Count(); ++i)
            if (list_.At(i).uuid == uuid) return true;
        return false;
    });
}

bool CDeviceProfileUI::WriteProfileFile(Json::Value source, const ProfileListFile::Entry& entry) {
    if (!JsonAccess::IsObject(source)) source = Json::Value(Json::objectValue);
    source[kName] = entry.name;
    source[kUuid] = entry.uuid;
    return files_.WriteJsonFile(list_.ProfileFile(entry.uuid), source);
}

bool CDeviceProfileUI::AppendToList(const ProfileListFile::Entry& entry) {
    list_.Read();
    list_.Put(list_.Count(), entry);
    if (list_.Write()) return true;
    RemoveQuietly(list_.ProfileFile(entry.uuid));
    return false;
}

// ---- operations

bool CDeviceProfileUI::AddProfile() {
    if (ProfileCount() >= kMaxProfiles) return true;
    list_.Read();
    const ProfileListFile::Entry entry{ProfileNames::NewName(list_.Names()), NewUuid()};
    // The file first: a list entry never names a file that was not written.
    if (!WriteProfileFile(files_.ReadJsonFile(defaultProfile_), entry) || !AppendToList(entry))
        return false;
    AddComboItem(entry.name);
    return true;
}

bool CDeviceProfileUI::DeleteProfile() {
    const int selected = GetSelectedIndex();
    if (selected < 0 || ProfileCount() < 2) return true;
    const int next = selected == 0 ? 0 : selected - 1;
    list_.Read();
    if (selected >= list_.Count()) return false;
    const std::string uuid = list_.At(selected).uuid;
    list_.Remove(selected);
    list_.SetSelected(next);
    if (!list_.Write()) return false;
    // Until the switch to the next profile has loaded it, the device must not save its
    // settings into a file that is gone (it would come back) or into the next one.
    if (device_ != nullptr && device_->GetProfileFileName() == uuid) {
        device_->SetProfileFileName({});
        device_->UpdateProfilePaths();
    }
    RemoveQuietly(list_.ProfileFile(uuid));
    Combo()->RemoveAt(selected);
    // The device follows through the selection's notification, as for a pick.
    SelectProfile(next, true);
    return true;
}

bool CDeviceProfileUI::CopyProfile() {
    const int selected = GetSelectedIndex();
    if (selected < 0) return true;
    list_.Read();
    const std::string name =
        ProfileNames::CopyName(Combo()->GetItemAt(selected)->GetText(), list_.Names());
    const std::filesystem::path source = list_.ProfileFile(list_.At(selected).uuid);
    const ProfileListFile::Entry entry{name, NewUuid()};
    const Json::Value document = source.empty() ? Json::Value() : files_.ReadJsonFile(source);
    if (!WriteProfileFile(document, entry) || !AppendToList(entry)) return false;
    AddComboItem(entry.name);
    return true;
}

CDeviceProfileUI::Transfer CDeviceProfileUI::ImportProfile(const std::filesystem::path& path) {
    if (GetSelectedIndex() < 0) return Transfer::NotValid;
    JsonDataFile::ReadStatus status = JsonDataFile::ReadStatus::Ok;
    Json::Value document = files_.ReadJsonFile(path, status);
    if (status == JsonDataFile::ReadStatus::Missing ||
        status == JsonDataFile::ReadStatus::Unreadable)
        return Transfer::Failed;
    if (!ProfileDocument::IsImportable(document)) return Transfer::NotValid;
    const std::string cleaned = ProfileNames::Cleaned(document[kName].asString());
    if (cleaned.empty()) return Transfer::NotValid;

    list_.Read();
    // The file's own UUID is never used: it may name another profile, or no plain file.
    const ProfileListFile::Entry entry{ProfileNames::ImportName(cleaned, list_.Names()), NewUuid()};
    if (!WriteProfileFile(std::move(document), entry) || !AppendToList(entry))
        return Transfer::Failed;
    AddComboItem(entry.name);
    return Transfer::Done;
}

CDeviceProfileUI::Transfer CDeviceProfileUI::ExportProfile(const std::filesystem::path& path) {
    return ExportProfileAt(GetSelectedIndex(), path);
}

std::vector<std::string> CDeviceProfileUI::ProfileNames() {
    list_.Read();
    return list_.Names();
}

CDeviceProfileUI::Transfer CDeviceProfileUI::ExportProfileAt(int index, const std::filesystem::path& path) {
    if (index < 0 || path.empty()) return Transfer::NotValid;
    list_.Read();
    if (index >= list_.Count()) return Transfer::NotValid;
    const std::filesystem::path source = list_.ProfileFile(list_.At(index).uuid);
    if (source.empty()) return Transfer::Failed;
    JsonDataFile::ReadStatus status = JsonDataFile::ReadStatus::Ok;
    const Json::Value document = files_.ReadJsonFile(source, status);
    if (status != JsonDataFile::ReadStatus::Ok) return Transfer::Failed;
    return files_.WriteJsonFile(path, document) ? Transfer::Done : Transfer::Failed;
}

bool CDeviceProfileUI::ResetProfile() {
    const int selected = GetSelectedIndex();
    if (selected < 0) return true;
    list_.Read();
    const ProfileListFile::Entry entry = list_.At(selected);
    const std::filesystem::path file = list_.ProfileFile(entry.uuid);
    if (file.empty()) return false;
    Json::Value document = files_.ReadJsonFile(defaultProfile_);
    if (kind_ == device::kKindHeadset) {
        // The user's own equaliser presets survive a reset.
        const Json::Value current = files_.ReadJsonFile(file);
        const Json::Value& section = JsonAccess::Element(JsonAccess::Member(current, "Device"), 0);
        for (const char* member : {"CustomEQNameInfo", "CustomEQHzValueInfo"}) {
            const Json::Value& kept = JsonAccess::Member(section, member);
            if (kept.isNull()) continue;
            if (!JsonAccess::IsObject(document)) document = Json::Value(Json::objectValue);
            Json::Value& target =
                JsonAccess::WritableElement(JsonAccess::WritableMember(document, "Device"), 0);
            JsonAccess::WritableMember(target, member) = kept;
        }
    }
    return WriteProfileFile(std::move(document), entry);
}

int CDeviceProfileUI::RenameProfile(const std::string& requested) {
    const std::string name = ProfileNames::Accepted(requested);
    if (name.empty()) return kNameEmpty;
    const int selected = GetSelectedIndex();
    if (selected < 0) return kNoProfile;
    for (int i = 0; i < ProfileCount(); ++i)
        if (i != selected && platform::EqualsNoCase(Combo()->GetItemAt(i)->GetText(), name))
            return kNameTaken;
    list_.Read();
    list_.SetName(selected, name);
    if (!list_.Write()) return kNotSaved;
    ui::CControlUI* item = Combo()->GetItemAt(selected);
    item->SetText(name);
    item->SetUserData(name);
    Combo()->Invalidate();
    SetNameEditText(name);
    const std::filesystem::path file = list_.ProfileFile(list_.At(selected).uuid);
    JsonDataFile::ReadStatus status = JsonDataFile::ReadStatus::Ok;
    Json::Value document = file.empty() ? Json::Value() : files_.ReadJsonFile(file, status);
    // A profile file that cannot be read keeps its old name inside rather than being
    // replaced by a file holding nothing but the name.
    if (JsonAccess::IsObject(document)) {
        document[kName] = name;
        files_.WriteJsonFile(file, document);
    }
    return kRenamed;
}

// ---- what the device asks

std::string CDeviceProfileUI::ProfileNameOf(const std::filesystem::path& file) const {
    ProfileListFile list(userFolder_);
    list.Read();
    return list.At(list.IndexOfFile(file)).name;
}

void CDeviceProfileUI::RestoreProfileIdentity(const std::filesystem::path& file) {
    ProfileListFile list(userFolder_);
    list.Read();
    const ProfileListFile::Entry entry = list.At(list.IndexOfFile(file));
    if (entry.uuid.empty()) return;
    Json::Value document = files_.ReadJsonFile(file);
    if (!JsonAccess::IsObject(document)) return;
    if (document[kName] == entry.name && document[kUuid] == entry.uuid) return;
    WriteProfileFile(std::move(document), entry);
}

}  // namespace panels
