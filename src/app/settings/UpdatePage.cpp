// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings/UpdatePage.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/LanguageManager.h"
#include "ui/CContainerUI.h"
#include "ui/CControlUI.h"
#include "ui/CDialogBuilder.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CTabLayoutUI.h"
#include "ui/controls/CUpdateInfoListItemUI.h"
#include "update/UpdateDateFile.h"
#include "update/UpdateQuery.h"

namespace app {

namespace {

constexpr const char* kEntryLayout = "XML\\CustomControlXML\\device_Update_list_item.xml";
constexpr int kEntryHeight = 50;
constexpr const char* kOverallTextKeys[] = {"GetUpdateInfoText", "HaveUpdateInfoText",
                                            "NoUpdateInfoText", "ISUpdateINGText",
                                            "UpdateIsLastText"};
// Followed by the name of the setting that holds the refused address.
constexpr const char* kRefusedAddressKey = "UpdateAddressRefusedText";

// Where an entry's download would go: the temporary folder's "UpdateData", created here.
std::string TargetFile(const std::string& name) {
    std::error_code ec;
    std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
    if (ec) dir = "/tmp";
    dir /= "UpdateData";
    std::filesystem::create_directories(dir, ec);
    return (dir / (name + ".exe")).string();
}

// The control of that name as the interface of that name, or null.
template <class T>
T* Interface(ui::CPaintManagerUI& pm, const char* name, const char* interfaceName) {
    ui::CControlUI* control = pm.FindControl(name);
    return control != nullptr ? static_cast<T*>(control->GetInterface(interfaceName)) : nullptr;
}

bool Busy(int status) {
    return !(status == 1 || status == 2 || status == 7 || status == 8);
}

}  // namespace

UpdatePage::UpdatePage(ui::CPaintManagerUI& manager, Hooks hooks)
    : pm_(manager), hooks_(std::move(hooks)) {}

ui::CUpdateInfoListItemUI* UpdatePage::Entry(std::size_t index) const {
    return index < entries_.size() ? entries_[index] : nullptr;
}

void UpdatePage::Begin(std::vector<update::UpdateProduct> rows, std::string lastCheck,
                       std::string refusedSetting) {
    rows_ = std::move(rows);
    lastCheck_ = std::move(lastCheck);
    refusedSetting_ = std::move(refusedSetting);
    entries_.clear();
    results_.clear();
    waiting_.assign(rows_.size(), true);
    failures_ = 0;
    auto* list = Interface<ui::CContainerUI>(pm_, "device_update_list_info", "Container");
    if (list != nullptr) list->RemoveAll();
    for (const update::UpdateProduct& row : rows_) {
        update::UpdateInfo info;
        info.name = update::EntryName(row);
        info.localVersion = row.hexFlag != 0
                                ? update::UpdateQuery::LocalVersionText(row.version, row.hexFlag)
                                : row.versionText;
        info.targetFile = TargetFile(info.name);
        ui::CUpdateInfoListItemUI* entry = nullptr;
        if (list != nullptr) {
            ui::CDialogBuilder builder;
            ui::CControlUI* built = builder.Create(kEntryLayout, nullptr, &pm_, list);
            if (built != nullptr) {
                entry = static_cast<ui::CUpdateInfoListItemUI*>(
                    built->GetInterface("UpdateInfoListItemUI"));
                built->SetFixedHeight(kEntryHeight);
                // A name of its own, so that each entry's controls can be told apart.
                built->SetName("update_entry_" + std::to_string(entries_.size()));
            }
        }
        entries_.push_back(entry);
        results_.push_back(std::move(info));
        ShowEntry(entries_.size() - 1);
    }
    ShowUpdateButton(false);
    ShowOverall(kChecking);
}

void UpdatePage::ShowEntry(std::size_t index) {
    ui::CUpdateInfoListItemUI* entry = Entry(index);
    if (entry == nullptr) return;
    const update::UpdateInfo& info = results_[index];
    entry->SetEntryName(info.name);
    entry->SetLocalVersion(info.localVersion);
    entry->SetServerVersion(info.status == update::UpdateInfo::kUpToDate ? "" : info.serverVersion);
    entry->SetStatus(info.status);
    entry->SetUserData(info.downloadUrl);
    entry->SetTargetFile(info.targetFile);
    // An entry says what is known about it: still being asked, or never answered, is not
    // "up to date".
    if (ui::CControlUI* text = entry->FindSubControl("update_status_text")) {
        if (waiting_[index])
            text->SetText(kOverallTextKeys[kChecking]);
        else if (info.unanswered)
            text->SetText(kOverallTextKeys[kNoAnswer]);
        else
            text->SetText(ui::CUpdateInfoListItemUI::StatusTextKey(info.status));
    }
}

void UpdatePage::OnAnswer(std::size_t index, update::UpdateInfo info) {
    if (index >= rows_.size()) return;
    if (info.unanswered) {
        ++failures_;
    } else {
        // The service answered today: that is the check the status line reports.
        lastCheck_ = update::UpdateDateFile::Today();
    }
    if (info.name.empty()) info.status = update::UpdateInfo::kUpToDate;
    info.name = update::EntryName(rows_[index]);
    info.targetFile = results_[index].targetFile;
    results_[index] = std::move(info);
    waiting_[index] = false;
    ShowEntry(index);
    // Nothing is ticked before the whole list is in.
    if (ui::CUpdateInfoListItemUI* entry = Entry(index)) {
        if (ui::CControlUI* tick = entry->FindSubControl("check_name_select"))
            tick->SetEnabled(false);
    }
}

void UpdatePage::Finish() {
    bool ticked = false;
    for (std::size_t k = 0; k < entries_.size(); ++k) {
        ui::CUpdateInfoListItemUI* entry = entries_[k];
        if (entry == nullptr) continue;
        ui::CControlUI* tick = entry->FindSubControl("check_name_select");
        const int status = results_[k].status;
        if (status != update::UpdateInfo::kUpToDate && status != 0) {
            if (tick != nullptr) tick->SetEnabled(true);
            entry->SetTicked(true, true);
            ticked = true;
        } else if (tick != nullptr) {
            tick->SetEnabled(false);
        }
    }
    if (ticked) ShowUpdateButton(true);
    if (ticked)
        ShowOverall(kHaveUpdates);
    else if (!rows_.empty() && failures_ == static_cast<int>(rows_.size()))
        ShowOverall(kNoAnswer);
    else
        ShowOverall(kUpToDate);
}

void UpdatePage::ShowUpdateButton(bool shown) {
    if (ui::CControlUI* button = pm_.FindControl("update_fw_and_ap")) {
        button->SetEnabled(shown);
        button->SetVisible(shown);
    }
}

void UpdatePage::ShowOverall(int status) {
    overall_ = status;
    if (ui::CControlUI* ring = pm_.FindControl("update_status_ring"))
        ring->SetVisible(status == kChecking);
    if (ui::CControlUI* image = pm_.FindControl("update_status_image"))
        image->SetVisible(status != kChecking);
    ui::CControlUI* text = pm_.FindControl("Update_Status_text");
    if (status == kUpToDate || (status == kNoAnswer && !refusedSetting_.empty())) {
        // The date and the setting's name are no keys: the composed line is shown as it
        // stands.
        const std::string line =
            status == kUpToDate
                ? LanguageManager::Translate(pm_, kOverallTextKeys[status]) + lastCheck_
                : LanguageManager::Translate(pm_, kRefusedAddressKey) + " " + refusedSetting_;
        if (text != nullptr) {
            text->SetResourceText(false);
            text->SetText(line);
        }
        if (status == kUpToDate && hooks_.clearUpdateMark) hooks_.clearUpdateMark();
    } else if (text != nullptr) {
        text->SetResourceText(true);
        text->SetText(kOverallTextKeys[status]);
    }
}

void UpdatePage::OnTickChanged() {
    const bool any =
        std::any_of(entries_.begin(), entries_.end(),
                    [](ui::CUpdateInfoListItemUI* e) { return e != nullptr && e->IsTicked(); });
    ShowUpdateButton(any);
}

void UpdatePage::OnUpdateNow() {
    ShowConfirmation(true);
}

void UpdatePage::ShowConfirmation(bool shown) {
    if (auto* tabs = Interface<ui::CTabLayoutUI>(pm_, "get_update_tab_layout", "TabLayout"))
        tabs->SelectItem(shown ? 1 : 0);
}

void UpdatePage::OnConfirm() {
    for (std::size_t k = 0; k < entries_.size(); ++k) {
        ui::CUpdateInfoListItemUI* entry = entries_[k];
        const int status = results_[k].status;
        if (entry == nullptr || (status != 1 && status != 2)) continue;
        if (entry->IsTicked()) {
            results_[k].status = update::UpdateInfo::kWaitingForDownload;
            ShowEntry(k);
        } else if (ui::CControlUI* tick = entry->FindSubControl("check_name_select")) {
            tick->SetEnabled(false);
        }
    }
    if (ui::CControlUI* button = pm_.FindControl("update_fw_and_ap")) button->SetEnabled(false);
    ShowConfirmation(false);
}

void UpdatePage::OnCheckAgainButton() {
    if (ui::CControlUI* hint = pm_.FindControl("update_tishi_layout")) hint->SetVisible(false);
    if (hooks_.restoreSize) hooks_.restoreSize();
}

int UpdatePage::IndexBeingUpdated() const {
    for (std::size_t k = 0; k < results_.size(); ++k) {
        if (results_[k].status == 4 || results_[k].status == 6) return static_cast<int>(k);
    }
    return -1;
}

void UpdatePage::OnRelay(std::uintptr_t wParam, std::intptr_t lParam) {
    const int index = IndexBeingUpdated();
    if (index < 0) return;  // nothing is being updated: the report is about nothing here
    const auto k = static_cast<std::size_t>(index);
    update::UpdateInfo& info = results_[k];
    ui::CUpdateInfoListItemUI* entry = Entry(k);
    switch (wParam) {
        case 1: {
            info.localVersion = info.serverVersion;
            info.status = update::UpdateInfo::kUpToDate;
            ShowEntry(k);
            if (entry != nullptr) entry->SetTicked(false, false);
            bool pending = false;
            bool anyNotUpToDate = false;
            for (std::size_t i = 0; i < results_.size(); ++i) {
                const int s = results_[i].status;
                if (s != update::UpdateInfo::kUpToDate) anyNotUpToDate = true;
                if (entries_[i] != nullptr && entries_[i]->IsTicked() &&
                    s != update::UpdateInfo::kUpToDate)
                    pending = true;
            }
            if (!pending) ShowOverall(anyNotUpToDate ? kHaveUpdates : kUpToDate);
            break;
        }
        case 2:
        case 3:
            info.status = update::UpdateInfo::kFailed;
            ShowEntry(k);
            break;
        case 4:
            if (entry != nullptr)
                entry->SetProgress(static_cast<int>(std::clamp<std::intptr_t>(lParam, 0, 100)));
            break;
        default:
            break;
    }
}

void UpdatePage::OnLanguageChanged() {
    if (overall_ == kUpToDate || overall_ == kNoAnswer) ShowOverall(overall_);
}

bool UpdatePage::CanClose() const {
    return std::none_of(results_.begin(), results_.end(),
                        [](const update::UpdateInfo& info) { return Busy(info.status); });
}

}  // namespace app
