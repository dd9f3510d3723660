// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/CUpdateInfoListItemUI.h"

#include <array>

#include "ui/COptionUI.h"

namespace ui {

namespace {

constexpr std::array<const char*, CUpdateInfoListItemUI::kStatusCount> kStatusTextKeys = {
    "LessUpdateText", "NeedUpdateText", "NeedUpdateText", "DownloadWaitText", "DownloadIngText",
    "DownloadOkText", "UpdateIngText",  "UpdateOkText",   "UpdateFailText"};

constexpr const char* kTickBox = "check_name_select";

COptionUI* AsOption(CControlUI* control) {
    return control != nullptr ? static_cast<COptionUI*>(control->GetInterface("Option")) : nullptr;
}

}  // namespace

std::string CUpdateInfoListItemUI::GetClass() const {
    return "UpdateInfoListItemUI";
}

void* CUpdateInfoListItemUI::GetInterface(std::string_view name) {
    if (name == "UpdateInfoListItemUI") return this;
    return CHotFrameListItemUI::GetInterface(name);
}

const char* CUpdateInfoListItemUI::StatusTextKey(int status) {
    if (status < 0 || status >= kStatusCount) return "";
    return kStatusTextKeys[static_cast<std::size_t>(status)];
}

bool CUpdateInfoListItemUI::SetStatus(int status) {
    if (status < 0 || status >= kStatusCount) return false;
    if (status == m_iStatus) return true;
    m_iStatus = status;
    ApplyStatus();
    return true;
}

void CUpdateInfoListItemUI::ApplyStatus() {
    const int s = m_iStatus;
    if (CControlUI* text = Sub("update_status_text")) text->SetText(StatusTextKey(s));
    const bool busy = s == 4 || s == 6;
    if (CControlUI* ring = Sub("update_status_ing")) ring->SetVisible(busy);
    if (CControlUI* value = Sub("update_progress_value")) value->SetVisible(busy);
    if (CControlUI* ok = Sub("update_status_ok")) ok->SetVisible(s == 5);
    if (COptionUI* tick = AsOption(Sub(kTickBox))) {
        tick->SetEnabled(s == 1 || s == 2 || s == 8);
        const bool quiet = s == 0 || s == 7;
        tick->SetTextColor(quiet ? kQuietTextColor : kActiveTextColor);
        tick->SetSelectedTextColor(quiet ? kQuietTextColor : kActiveTextColor);
        tick->SetDisabledTextColor(quiet ? kQuietDisabledTextColor : kActiveDisabledTextColor);
    }
}

void CUpdateInfoListItemUI::SetEntryName(std::string_view name) {
    if (CControlUI* tick = Sub(kTickBox)) tick->SetText(name);
}

std::string CUpdateInfoListItemUI::GetEntryName() {
    CControlUI* tick = Sub(kTickBox);
    return tick != nullptr ? tick->GetText() : std::string();
}

void CUpdateInfoListItemUI::SetLocalVersion(std::string_view version) {
    if (CControlUI* label = Sub("OldRev")) label->SetText(version);
}

void CUpdateInfoListItemUI::SetServerVersion(std::string_view version) {
    CControlUI* label = Sub("updateRev");
    if (label == nullptr) return;
    label->SetText(version);
    label->SetVisible(!version.empty());
}

void CUpdateInfoListItemUI::SetProgress(int percent) {
    if (CControlUI* value = Sub("update_progress_value"))
        value->SetText(std::to_string(percent) + "%");
}

bool CUpdateInfoListItemUI::IsTicked() {
    COptionUI* tick = AsOption(Sub(kTickBox));
    return tick != nullptr && tick->IsSelected();
}

void CUpdateInfoListItemUI::SetTicked(bool ticked, bool notify) {
    if (COptionUI* tick = AsOption(Sub(kTickBox))) tick->Selected(ticked, notify);
}

bool CUpdateInfoListItemUI::IsTickEnabled() {
    CControlUI* tick = Sub(kTickBox);
    return tick != nullptr && tick->IsOwnEnabled();
}

}  // namespace ui
