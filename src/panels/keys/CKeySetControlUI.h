// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key assignment panel of a device page ("KeySetControlItem"): what the selected key
// of the picture does. It shows a key's mapping as a function category and its parameters
// (combos, edits, the modifier options), reads the controls back into a mapping, keeps the
// macro combo in step with the macro library and takes keys captured from the keyboard.
// Showing never raises a notification; the handlers (KeySetOperations) apply what the user
// changes.
//
// UI thread only.
#include <array>
#include <string>
#include <vector>

#include "data/KeyMapping.h"
#include "model/device/IKeySetPanel.h"
#include "ui/CHorizontalLayoutUI.h"

namespace ui {
class CComboUI;
class CEditUI;
class COptionUI;
class CTabLayoutUI;
}  // namespace ui

namespace panels {

class CKeySetControlUI : public ui::CHorizontalLayoutUI, public model::IKeySetPanel {
public:
    static constexpr int kModifierOptions = 5;
    static constexpr int kMacroItemHeight = 30;

    std::string GetClass() const override;
    // "KeySetControl" gives this panel, model::IKeySetPanel::kInterfaceName its interface.
    void* GetInterface(std::string_view name) override;

    // ---- model::IKeySetPanel
    void AttachDevice(model::CLumitrekUSBDevice* device) override { device_ = device; }
    void BindControls() override;
    void SetDeviceKind(int kind) override;
    void FillMacroNames(const std::vector<std::string>& names) override;
    void AddMacroName(const std::string& name) override;
    void RemoveMacroName(int index) override;
    void RenameMacroName(int index, const std::string& name) override;
    void SetKeyMapping(const KeyMapping& mapping) override;
    void RefreshKeyLabels() override;

    model::CLumitrekUSBDevice* Device() const { return device_; }
    int DeviceKind() const { return kind_; }
    const KeyMapping& Mapping() const { return mapping_; }

    void ShowDefaultAssignment() { ShowAssignment(mapping_.defaults); }
    void ShowCurrentAssignment() { ShowAssignment(mapping_.current); }
    // Stored as the current half, not shown.
    void SetCapturedAssignment(const KeyAssignment& assignment) { mapping_.current = assignment; }
    void ShowAssignment(const KeyAssignment& assignment);
    // The controls as a mapping; its current half is kept as the panel's.
    KeyMapping ReadAssignment();
    void SetSaveButtonsEnabled(bool enabled) override;
    void SelectModifier(int option);
    int GetSelectedModifier() const;
    // The selected category's code, -1 for none.
    int SelectedCategory() const;
    // The category page follows the combo; a keyboard-key page starts without a key.
    void ShowCategoryPage();
    // The repeat count shows for the repeat mode only.
    void ShowRepeatCount();
    // A key pressed while the key edit has the focus: row `row` of the key table. A
    // modifier selects its option and clears the key; another key is taken with the
    // option selected (none: no modifier).
    void CaptureKey(int row);
    // What the key edit shows.
    std::string KeyText() const;

private:
    struct Controls {
        ui::CControlUI* layout = nullptr;
        ui::CComboUI* category = nullptr;
        ui::CTabLayoutUI* pages = nullptr;
        std::array<ui::CControlUI*, 4> buttons{};  // default, apply, undo, write
        ui::CComboUI* mouseButton = nullptr;
        ui::CComboUI* swingDirection = nullptr;
        ui::CEditUI* swingCount = nullptr;
        ui::CEditUI* swingDelay = nullptr;
        ui::CEditUI* swingSpeed = nullptr;
        ui::CComboUI* wheelDirection = nullptr;
        ui::CEditUI* wheelCount = nullptr;
        ui::CEditUI* wheelDelay = nullptr;
        ui::CEditUI* wheelSpeed = nullptr;
        ui::CComboUI* dpi = nullptr;
        ui::CEditUI* fireInterval = nullptr;
        ui::CEditUI* fireCount = nullptr;
        ui::CEditUI* keyText = nullptr;
        std::array<ui::COptionUI*, kModifierOptions> modifiers{};
        ui::CComboUI* media = nullptr;
        ui::CComboUI* system = nullptr;
        ui::CComboUI* macro = nullptr;
        ui::CComboUI* macroMode = nullptr;
        ui::CControlUI* repeatLayout = nullptr;
        ui::CEditUI* repeatCount = nullptr;
        ui::CComboUI* gunKey = nullptr;
        ui::CComboUI* shortcut = nullptr;
    };

    ui::CComboUI* ComboOf(int category) const;
    // Selects the category item of `category` and its page; false when there is none.
    bool ShowCategory(int category);
    void ShowKeyName(int row);
    void ShowKeyboardKey(const KeyAssignment& assignment);
    void ShowSwingOrWheel(const KeyAssignment& assignment, bool wheel);
    void ShowMacro(const KeyAssignment& assignment);

    model::CLumitrekUSBDevice* device_ = nullptr;
    int kind_ = 1;
    KeyMapping mapping_;
    Controls c_;
};

}  // namespace panels
