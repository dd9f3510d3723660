// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings window's update page: one list entry per product with its installed and
// offered versions and its state, the status line above the list, the tick boxes and the
// "update now" confirmation. The answers of the check arrive one by one (OnAnswer) and
// the check's end (Finish) decides what is offered.
//
// UI thread only; the page works on the settings window's controls.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "update/UpdateInfo.h"
#include "update/UpdateProduct.h"

namespace ui {
class CPaintManagerUI;
class CUpdateInfoListItemUI;
}  // namespace ui

namespace app {

class UpdatePage {
public:
    // Overall states of the status line.
    static constexpr int kChecking = 0;
    static constexpr int kHaveUpdates = 1;
    static constexpr int kNoAnswer = 2;
    static constexpr int kUpdating = 3;
    static constexpr int kUpToDate = 4;

    struct Hooks {
        std::function<void()> clearUpdateMark;  // the main window's mark on "setbtn"
        std::function<void()> restoreSize;      // the window back to 630 x 500
    };

    UpdatePage(ui::CPaintManagerUI& manager, Hooks hooks);

    // One entry per row, each waiting for its answer; `lastCheck` is the date the status
    // line shows once everything is up to date. `refusedSetting` names the setting whose
    // update address was refused: the status line then says so instead of "no answer".
    void Begin(std::vector<update::UpdateProduct> rows, std::string lastCheck,
               std::string refusedSetting = {});
    // The service's answer about row `index`.
    void OnAnswer(std::size_t index, update::UpdateInfo info);
    // Every row was asked: ticks what can be updated and sets the status line.
    void Finish();

    void OnTickChanged();
    void OnUpdateNow();         // "update_fw_and_ap"
    void OnConfirm();           // "update_OK_btn"
    void OnCheckAgainButton();  // "set_in_update_wnd_btn"
    // A report about the entry being updated: 1 finished, 2 or 3 failed, 4 progress
    // (`lParam` percent).
    void OnRelay(std::uintptr_t wParam, std::intptr_t lParam);
    // The texts that are composed here follow a new language.
    void OnLanguageChanged();

    // No entry is in the middle of an update (states 1, 2, 7 and 8 only).
    bool CanClose() const;
    int OverallStatus() const { return overall_; }
    const std::vector<update::UpdateInfo>& Results() const { return results_; }
    ui::CUpdateInfoListItemUI* Entry(std::size_t index) const;

private:
    void ShowOverall(int status);
    void ShowEntry(std::size_t index);
    void ShowUpdateButton(bool shown);
    void ShowConfirmation(bool shown);  // page 1 of "get_update_tab_layout", else page 0
    int IndexBeingUpdated() const;

    ui::CPaintManagerUI& pm_;
    Hooks hooks_;
    std::vector<update::UpdateProduct> rows_;
    std::vector<ui::CUpdateInfoListItemUI*> entries_;
    std::vector<update::UpdateInfo> results_;
    std::vector<bool> waiting_;  // entries whose answer has not come yet
    int failures_ = 0;
    int overall_ = kChecking;
    std::string lastCheck_;
    std::string refusedSetting_;
};

}  // namespace app
