// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One entry of the update list: a product's name with its tick box, installed and offered
// versions, and a status shown by its own controls ("update_status_text", progress, ok
// mark). The download address is the entry's user data.
#include <string>

#include "ui/controls/CHotFrameListItemUI.h"

namespace ui {

class CUpdateInfoListItemUI : public CHotFrameListItemUI {
public:
    // Entry states 0..8: no information, newer version (1 and 2), waiting for download,
    // downloading, downloaded, installing, up to date, failed.
    static constexpr int kStatusCount = 9;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // -1 until a status was set. Setting the status the entry already has changes nothing;
    // values outside 0..8 are refused.
    int GetStatus() const { return m_iStatus; }
    bool SetStatus(int status);
    // The language key the status line shows for `status` (empty outside 0..8).
    static const char* StatusTextKey(int status);

    // Texts of the entry's controls: name on the tick box "check_name_select", installed
    // version "OldRev", offered version "updateRev" (hidden while empty).
    void SetEntryName(std::string_view name);
    std::string GetEntryName();
    void SetLocalVersion(std::string_view version);
    void SetServerVersion(std::string_view version);
    // "update_progress_value" shows the percentage followed by "%".
    void SetProgress(int percent);

    bool IsTicked();
    void SetTicked(bool ticked, bool notify = true);
    bool IsTickEnabled();

    const std::string& GetTargetFile() const { return m_sTargetFile; }
    void SetTargetFile(std::string_view path) { m_sTargetFile = path; }

    // Colours of the tick box's text by status: white on the states that offer nothing.
    static constexpr Color kQuietTextColor = 0xFFFFFFFF;
    static constexpr Color kQuietDisabledTextColor = 0xFF666666;
    static constexpr Color kActiveTextColor = 0xFF0099FF;
    static constexpr Color kActiveDisabledTextColor = 0xFF0078C8;

private:
    CControlUI* Sub(std::string_view name) { return FindSubControl(name); }
    void ApplyStatus();

    int m_iStatus = -1;
    std::string m_sTargetFile;
};

}  // namespace ui
