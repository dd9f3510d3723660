// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system settings controls on the keyboard's page (report rate, repeat rate and
// delay, the three switches), which the keyboard looks up by name within its page on
// first use. A missing control makes its setter do nothing and its getter yield 0.
// Setting an option here never raises a notification, so a refresh does not run the
// main window's change handlers.
#include <string>
#include <string_view>

#include "model/device/SystemStages.h"

namespace ui {
class CContainerUI;
class CControlUI;
class COptionUI;
}  // namespace ui

namespace model {

class KeyboardSystemControls {
public:
    static constexpr int kChoices = 4;  // polling rate and repeat delay options 0..3

    explicit KeyboardSystemControls(ui::CContainerUI& page) : page_(page) {}

    // Selects option n of the group and clears the others; n outside 0..3 selects 0.
    void SelectPollingRate(int n);
    void SelectRepeatDelay(int n);  // also rewrites the delay label
    void SetRepeatRate(int value);
    void SetWinLock(bool on);
    void SetWFlag(bool on);
    void SetSixKeyFlag(bool on);

    int GetRepeatRate();
    bool GetWinLock();
    bool GetWFlag();
    bool GetSixKeyFlag();

    // Empties the field the user tries the key repeat in.
    void ClearTryOut();

    // The whole panel from a settings record; the try-out field is emptied.
    void Show(const SystemStages& stages);
    // Only the texts that depend on the language: the delay label and the field's tip.
    void ReloadTexts(const SystemStages& stages);

private:
    ui::CControlUI* Find(std::string_view name);
    ui::COptionUI* Option(std::string_view name);
    void SelectInGroup(const char* prefix, int n);
    void SetSelected(std::string_view name, bool on);
    bool IsSelected(std::string_view name);
    std::string Translate(std::string_view key);
    void ShowDelayLabel(int index);
    void ShowTryOutTip();

    ui::CContainerUI& page_;
};

}  // namespace model
