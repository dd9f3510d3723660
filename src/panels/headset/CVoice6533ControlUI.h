// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The headset's voice page ("Voice6533ControlItem"): microphone and monitor switches and
// levels, the equaliser's preset options and ten band sliders, and the user's presets
// (a name field and a combo). Setting a control here raises no notification.
//
// UI thread only.
#include <string>
#include <vector>

#include "model/device/IVoicePanel.h"
#include "panels/NamedControls.h"
#include "ui/CHorizontalLayoutUI.h"

namespace panels {

class CVoice6533ControlUI : public ui::CHorizontalLayoutUI, public model::IVoicePanel {
public:
    static constexpr int kPresets = 13;

    std::string GetClass() const override;
    // "Voice6533Control" gives this panel, model::IVoicePanel::kInterfaceName its interface.
    void* GetInterface(std::string_view name) override;

    void SetMicEnabled(bool on) override;
    bool IsMicEnabled() const override;
    void SetMicLevel(int level) override;
    int GetMicLevel() const override;
    void SetMonitorEnabled(bool on) override;
    bool IsMonitorEnabled() const override;
    void SetMonitorLevel(int level) override;
    int GetMonitorLevel() const override;

    void SelectPreset(int preset) override;
    // The ticked preset option (1-13), 0 for none.
    int GetPreset() const;
    void ShowUserPresetLayout(bool shown) override;
    void SetBand(int band, int value) override;
    int GetBand(int band) const override;

    void SetUserPresetNames(const std::vector<std::string>& names) override;
    void AddUserPresetName(const std::string& name) override;
    void RemoveUserPreset(int index) override;
    std::vector<std::string> UserPresetNames() const override;
    void SelectUserPreset(int index) override;
    int GetSelectedUserPreset() const override;
    std::string GetPresetNameText() const override;

private:
    void Tick(const std::string& name, bool on);
    bool Ticked(const std::string& name) const;
    void SetSlider(const std::string& name, int value);
    int Slider(const std::string& name) const;

    NamedControls controls_{*this};
};

}  // namespace panels
