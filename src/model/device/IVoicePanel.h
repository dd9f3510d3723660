// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the headset needs of its voice panel ("Voice6533ControlItem"): microphone and
// monitor switches and levels, the equaliser presets and bands, and the user's presets.
// Getters of a control the page lacks answer -1 (levels, bands, selection) or empty.
#include <string>
#include <vector>

namespace model {

class IVoicePanel {
public:
    virtual ~IVoicePanel() = default;

    static constexpr const char* kInterfaceName = "IVoicePanel";
    static constexpr const char* kControlName = "Voice6533ControlItem";

    virtual void SetMicEnabled(bool on) = 0;
    virtual bool IsMicEnabled() const = 0;
    virtual void SetMicLevel(int level) = 0;
    virtual int GetMicLevel() const = 0;
    virtual void SetMonitorEnabled(bool on) = 0;
    virtual bool IsMonitorEnabled() const = 0;
    virtual void SetMonitorLevel(int level) = 0;
    virtual int GetMonitorLevel() const = 0;

    // Ticks preset option p (1-13) and clears the others; any other p clears all.
    virtual void SelectPreset(int preset) = 0;
    virtual void ShowUserPresetLayout(bool shown) = 0;
    virtual void SetBand(int band, int value) = 0;
    virtual int GetBand(int band) const = 0;

    // The user presets' combo: emptied and filled / one item added / one removed.
    virtual void SetUserPresetNames(const std::vector<std::string>& names) = 0;
    virtual void AddUserPresetName(const std::string& name) = 0;
    virtual void RemoveUserPreset(int index) = 0;
    virtual std::vector<std::string> UserPresetNames() const = 0;
    // Selecting an item (-1: none) also empties the name field.
    virtual void SelectUserPreset(int index) = 0;
    virtual int GetSelectedUserPreset() const = 0;
    virtual std::string GetPresetNameText() const = 0;
};

}  // namespace model
