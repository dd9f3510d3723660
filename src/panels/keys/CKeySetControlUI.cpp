// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/keys/CKeySetControlUI.h"

#include <cstdlib>
#include <string>

#include "data/macro/InputTables.h"
#include "panels/keys/KeyFunctionTables.h"
#include "panels/keys/KeyInfoList.h"
#include "panels/keys/KeyLabels.h"
#include "ui/CComboUI.h"
#include "ui/CEditUI.h"
#include "ui/CListLabelElementUI.h"
#include "ui/COptionUI.h"
#include "ui/CResourceManager.h"
#include "ui/CTabLayoutUI.h"

namespace panels {

namespace {

using namespace keys;

constexpr int kKindKeyboard = 1;
constexpr int kCategories = 12;
constexpr const char* kButtons[] = {"key_butt_keydefalut", "key_butt_keysave",
                                    "key_butt_keycancel", "key_butt_prosave"};

// A decimal text as the C library reads it, cut to a byte.
uint8_t ByteOf(const ui::CEditUI* edit) {
    if (edit == nullptr) return 0;
    return static_cast<uint8_t>(std::strtol(edit->GetText().c_str(), nullptr, 10));
}

void SetNumber(ui::CEditUI* edit, int value) {
    if (edit != nullptr) edit->SetText(std::to_string(value));
}

void Select(ui::CComboUI* combo, int item) {
    if (combo != nullptr) combo->SelectItem(item, false, false);
}

int Selected(const ui::CComboUI* combo) {
    return combo != nullptr ? combo->GetCurSel() : -1;
}

int CodeOf(ui::CControlUI* item) {
    if (item == nullptr) return -1;
    const std::string& data = item->GetUserData();
    return data.empty() ? -1 : std::atoi(data.c_str());
}

template <class T>
T* Typed(ui::CControlUI* control, const char* interfaceName) {
    return control != nullptr ? static_cast<T*>(control->GetInterface(interfaceName)) : nullptr;
}

}  // namespace

std::string CKeySetControlUI::GetClass() const {
    return "KeySetControlUI";
}

void* CKeySetControlUI::GetInterface(std::string_view name) {
    if (name == "KeySetControl") return this;
    if (name == model::IKeySetPanel::kInterfaceName) return static_cast<model::IKeySetPanel*>(this);
    return CHorizontalLayoutUI::GetInterface(name);
}

void CKeySetControlUI::BindControls() {
    const auto find = [this](const char* name) { return FindSubControl(name); };
    const auto combo = [&](const char* name) { return Typed<ui::CComboUI>(find(name), "Combo"); };
    const auto edit = [&](const char* name) { return Typed<ui::CEditUI>(find(name), "Edit"); };
    c_.layout = find("keyset_layout");
    c_.category = combo("keyset_function_combo");
    c_.pages = Typed<ui::CTabLayoutUI>(find("function_switch_tablayout"), "TabLayout");
    for (std::size_t i = 0; i < c_.buttons.size(); ++i) c_.buttons[i] = find(kButtons[i]);
    c_.mouseButton = combo("keyset_mousekey_combo");
    c_.swingDirection = combo("keyset_mouseswing_combo");
    c_.swingCount = edit("keyset_mouseswing_num_edit");
    c_.swingDelay = edit("keyset_mouseswing_delay_edit");
    c_.swingSpeed = edit("keyset_mouseswing_speed_edit");
    c_.wheelDirection = combo("keyset_mousewheel_combo");
    c_.wheelCount = edit("keyset_mousewheel_num_edit");
    c_.wheelDelay = edit("keyset_mousewheel_delay_edit");
    c_.wheelSpeed = edit("keyset_mousewheel_speed_edit");
    c_.dpi = combo("keyset_mousedpi_combo");
    c_.fireInterval = edit("keyset_mousefire_interval_edit");
    c_.fireCount = edit("keyset_mousefire_num_edit");
    c_.keyText = edit("keyset_keyboard_text_edit");
    for (int n = 0; n < kModifierOptions; ++n) {
        const std::string name = "key_ComBox_check_" + std::to_string(n);
        c_.modifiers[n] = Typed<ui::COptionUI>(find(name.c_str()), "Option");
    }
    c_.media = combo("keyset_media_combo");
    c_.system = combo("keyset_system_combo");
    c_.macro = combo("keyset_macro_combo");
    c_.macroMode = combo("keyset_macro_over_combo");
    c_.repeatLayout = find("keyset_macro_cycle_layout");
    c_.repeatCount = edit("keyset_macro_cycle_edit");
    c_.gunKey = combo("keyset_gunkey_combo");
    c_.shortcut = combo("keyset_combokey_combo");
}

void CKeySetControlUI::SetDeviceKind(int kind) {
    kind_ = kind;
    if (kind != kKindKeyboard) {
        // The write goes to the mouse; the panel's own text names the keyboard.
        if (ui::CControlUI* write = FindSubControl("key_butt_prosave")) {
            write->SetText("keyset_write_mouse_text");
            write->SetToolTip("keyset_write_mouse_tip");
        }
        return;
    }
    if (c_.category == nullptr) return;
    // A keyboard has no DPI and no recoil patterns.
    for (int i = 0; i < c_.category->GetCount(); ++i) {
        ui::CControlUI* item = c_.category->GetItemAt(i);
        const int code = CodeOf(item);
        if (code == kDpi || code == kGunKey) item->SetVisible(false);
    }
}

// ---- the macro names

void CKeySetControlUI::FillMacroNames(const std::vector<std::string>& names) {
    if (c_.macro == nullptr) return;
    for (const std::string& name : names) AddMacroName(name);
    c_.macro->SelectItem(-1, false, false);
}

void CKeySetControlUI::AddMacroName(const std::string& name) {
    if (c_.macro == nullptr) return;
    auto* item = new ui::CListLabelElementUI();
    item->SetFixedHeight(kMacroItemHeight);
    item->SetResourceText(false);  // the user's name, never a language key
    item->SetText(name);
    c_.macro->Add(item);
}

void CKeySetControlUI::RemoveMacroName(int index) {
    if (c_.macro == nullptr || index < 0 || index >= c_.macro->GetCount()) return;
    c_.macro->RemoveAt(index);
}

void CKeySetControlUI::RenameMacroName(int index, const std::string& name) {
    if (c_.macro == nullptr || index < 0 || index >= c_.macro->GetCount() || name.empty()) return;
    c_.macro->GetItemAt(index)->SetText(name);
}

// ---- showing an assignment

void CKeySetControlUI::SetKeyMapping(const KeyMapping& mapping) {
    mapping_ = mapping;
    ShowAssignment(mapping_.current);
}

ui::CComboUI* CKeySetControlUI::ComboOf(int category) const {
    switch (category) {
        case kMouseButton: return c_.mouseButton;
        case kDpi: return c_.dpi;
        case kMedia: return c_.media;
        case kSystem: return c_.system;
        case kShortcut: return c_.shortcut;
        default: return nullptr;
    }
}

void CKeySetControlUI::ShowAssignment(const KeyAssignment& a) {
    const KeyAssignment& d = mapping_.defaults;
    const bool asDefault = a.type == d.type && a.byte1 == d.byte1 && a.byte0 == d.byte0;
    int category = -1;
    const auto selectItem = [this, &a](int code) {
        Select(ComboOf(code), FindItem(ItemsOf(code), a.type, a.byte1, a.byte0));
        return code;
    };
    switch (asDefault ? 0 : a.type) {
        case 0: category = kDefault; break;
        case kTypeMouseButton: category = selectItem(kMouseButton); break;
        case kTypeSwing: ShowSwingOrWheel(a, false); category = kSwing; break;
        case kTypeWheel: ShowSwingOrWheel(a, true); category = kWheel; break;
        case kTypeDpi: category = selectItem(kDpi); break;
        case kTypeRapidFire:
            SetNumber(c_.fireInterval, a.byte1);
            SetNumber(c_.fireCount, a.byte0);
            category = kRapidFire;
            break;
        case kTypeKey:
            if (a.byte1 > 0x80 || (a.byte1 == 0 && a.byte0 >= 0x80)) {
                category = selectItem(kShortcut);
            } else {
                ShowKeyboardKey(a);
                category = kKeyboardKey;
            }
            break;
        case kTypeMedia: category = selectItem(kMedia); break;
        case kTypeSystem: category = selectItem(kSystem); break;
        case kTypeMacro:
        case kTypeMacroRepeat: ShowMacro(a); category = kMacro; break;
        case kTypeGunKey: Select(c_.gunKey, a.byte1); category = kGunKey; break;
        case kTypeShortcutOnly: Select(c_.shortcut, -1); category = kShortcut; break;
        default: break;
    }
    const bool shown = category >= 0 && ShowCategory(category);
    if (c_.layout != nullptr) c_.layout->SetVisible(shown);
}

bool CKeySetControlUI::ShowCategory(int category) {
    if (c_.category == nullptr) return false;
    for (int i = 0; i < c_.category->GetCount(); ++i) {
        if (CodeOf(c_.category->GetItemAt(i)) != category) continue;
        c_.category->SelectItem(i, false, false);
        if (c_.pages != nullptr) c_.pages->SelectItem(category);
        return true;
    }
    return false;
}

void CKeySetControlUI::ShowSwingOrWheel(const KeyAssignment& a, bool wheel) {
    const bool second = (a.byte0 & 0x80) != 0;
    int count = a.byte0;
    if (second) count = wheel ? 128 - (a.byte0 & 0x7F) : (a.byte0 & 0x7F);
    SetNumber(wheel ? c_.wheelDelay : c_.swingDelay, a.byte1 >> 4);
    SetNumber(wheel ? c_.wheelSpeed : c_.swingSpeed, a.byte1 & 0x0F);
    SetNumber(wheel ? c_.wheelCount : c_.swingCount, count);
    Select(wheel ? c_.wheelDirection : c_.swingDirection, second ? 1 : 0);
}

void CKeySetControlUI::ShowKeyName(int row) {
    if (c_.keyText == nullptr) return;
    c_.keyText->SetText(row >= 0 ? ui::CResourceManager::GetInstance().GetText(
                                       input::KeyNameKey(input::KeyRows()[row]))
                                 : std::string());
}

void CKeySetControlUI::ShowKeyboardKey(const KeyAssignment& a) {
    const auto rows = input::KeyRows();
    if (a.byte1 == 0) {
        int found = -1;
        for (std::size_t r = 0; r < rows.size() && found < 0; ++r)
            if (rows[r].modifierBit == 0 && rows[r].usage == a.byte0) found = static_cast<int>(r);
        if (found >= 0) {
            SelectModifier(0);
            ShowKeyName(found);
        } else {
            SelectModifier(-1);
            ShowKeyName(-1);
            mapping_.current.byte1 = 0;
            mapping_.current.byte0 = 0;
        }
        return;
    }
    const int modifier = input::KeyRowOfModifier(a.byte1);
    SelectModifier(modifier >= 0 ? ModifierOptionOfRow(modifier) : 0);
    const int key = input::KeyRowOfUsage(a.byte0);
    if (key >= 0) ShowKeyName(key);
}

void CKeySetControlUI::ShowMacro(const KeyAssignment& a) {
    const int macros = c_.macro != nullptr ? c_.macro->GetCount() : 0;
    const bool known = a.byte1 < macros;
    const bool repeat = a.type == kTypeMacroRepeat;
    Select(c_.macro, known ? a.byte1 : -1);
    if (repeat) {
        Select(c_.macroMode, known ? kRepeatModeItem : -1);
        SetNumber(c_.repeatCount, a.byte0);
    } else {
        Select(c_.macroMode, known ? a.byte0 : -1);
    }
    if (c_.repeatLayout != nullptr) c_.repeatLayout->SetVisible(repeat && known);
}

// ---- reading the controls

int CKeySetControlUI::SelectedCategory() const {
    if (c_.category == nullptr) return -1;
    return CodeOf(c_.category->GetItemAt(c_.category->GetCurSel()));
}

KeyMapping CKeySetControlUI::ReadAssignment() {
    KeyAssignment& a = mapping_.current;
    int code = SelectedCategory();
    if (code < 0 || code >= kCategories) code = kDefault;
    const auto fromItem = [&a](std::span<const ItemBytes> items, int item) {
        if (item < 0 || item >= static_cast<int>(items.size())) return;
        a.type = items[item].type;
        a.byte1 = items[item].byte1;
        a.byte0 = items[item].byte0;
    };
    const auto packedTiming = [](const ui::CEditUI* delay, const ui::CEditUI* speed) {
        return static_cast<uint8_t>((ByteOf(delay) & 0x0F) << 4 | (ByteOf(speed) & 0x0F));
    };
    switch (code) {
        case kDefault:
            a = mapping_.defaults;
            break;
        case kMouseButton:
        case kDpi:
        case kMedia:
        case kSystem:
        case kShortcut:
            fromItem(ItemsOf(code), Selected(ComboOf(code)));
            break;
        case kSwing: {
            const uint8_t count = ByteOf(c_.swingCount);
            a.type = kTypeSwing;
            a.byte1 = packedTiming(c_.swingDelay, c_.swingSpeed);
            a.byte0 = Selected(c_.swingDirection) == 1 ? (count | 0x80) : (count & 0x7F);
            break;
        }
        case kWheel: {
            const uint8_t count = ByteOf(c_.wheelCount);
            a.type = kTypeWheel;
            a.byte1 = packedTiming(c_.wheelDelay, c_.wheelSpeed);
            a.byte0 = Selected(c_.wheelDirection) == 1 ? static_cast<uint8_t>(0x80 | (128 - count))
                                                         : (count & 0x7F);
            break;
        }
        case kRapidFire:
            a.type = kTypeRapidFire;
            a.byte1 = ByteOf(c_.fireInterval);
            a.byte0 = ByteOf(c_.fireCount);
            break;
        case kKeyboardKey:
            a.type = kTypeKey;
            a.byte1 = ModifierBitOfOption(GetSelectedModifier());
            if (KeyText().empty()) a.byte0 = 0;
            break;
        case kMacro: {
            const int item = Selected(c_.macro);
            const int macros = c_.macro != nullptr ? c_.macro->GetCount() : 0;
            if (item < 0 || macros == 0) break;
            a.byte1 = static_cast<uint8_t>(item);
            const int mode = Selected(c_.macroMode);
            if (mode == kRepeatModeItem) {
                a.type = kTypeMacroRepeat;
                a.byte0 = ByteOf(c_.repeatCount);
            } else {
                a.type = kTypeMacro;
                a.byte0 = static_cast<uint8_t>(mode < 0 ? 0 : mode);
            }
            break;
        }
        case kGunKey:
            a.type = kTypeGunKey;
            a.byte1 = static_cast<uint8_t>(std::max(Selected(c_.gunKey), 0));
            a.byte0 = 0;
            break;
        default:
            break;
    }
    return mapping_;
}

void CKeySetControlUI::SetSaveButtonsEnabled(bool enabled) {
    for (std::size_t i = 1; i < c_.buttons.size(); ++i)
        if (c_.buttons[i] != nullptr) c_.buttons[i]->SetEnabled(enabled);
}

void CKeySetControlUI::SelectModifier(int option) {
    for (int n = 0; n < kModifierOptions; ++n)
        if (c_.modifiers[n] != nullptr) c_.modifiers[n]->Selected(n == option, false);
}

int CKeySetControlUI::GetSelectedModifier() const {
    for (int n = 0; n < kModifierOptions; ++n)
        if (c_.modifiers[n] != nullptr && c_.modifiers[n]->IsSelected()) return n;
    return -1;
}

std::string CKeySetControlUI::KeyText() const {
    return c_.keyText != nullptr ? c_.keyText->GetText() : std::string();
}

void CKeySetControlUI::ShowCategoryPage() {
    const int code = SelectedCategory();
    if (c_.pages != nullptr && code >= 0) c_.pages->SelectItem(code);
    if (code == kKeyboardKey) {
        if (c_.keyText != nullptr) c_.keyText->SetText("");
        SelectModifier(-1);
    }
}

void CKeySetControlUI::ShowRepeatCount() {
    if (c_.repeatLayout != nullptr)
        c_.repeatLayout->SetVisible(Selected(c_.macroMode) == kRepeatModeItem);
}

void CKeySetControlUI::CaptureKey(int row) {
    const auto rows = input::KeyRows();
    if (row < 0 || row >= static_cast<int>(rows.size())) return;
    KeyAssignment captured = mapping_.current;
    captured.type = kTypeKey;
    if (row >= input::kModifierRows) {
        if (GetSelectedModifier() < 0) SelectModifier(0);
        captured.byte1 = ModifierBitOfOption(GetSelectedModifier());
        captured.byte0 = rows[row].usage;
        ShowKeyName(row);
    } else {
        SelectModifier(ModifierOptionOfRow(row));
        captured.byte1 = ModifierBitOfOption(GetSelectedModifier());
        captured.byte0 = 0;
        ShowKeyName(-1);
    }
    SetCapturedAssignment(captured);
}

void CKeySetControlUI::RefreshKeyLabels() {
    if (device_ == nullptr) return;
    KeyLabels::Refresh(*device_);
    KeyInfoList::Rebuild(*device_);
}

}  // namespace panels
