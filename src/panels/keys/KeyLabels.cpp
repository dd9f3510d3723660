// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/keys/KeyLabels.h"

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "data/macro/InputTables.h"
#include "model/device/CLumitrekMouseDevice.h"
#include "model/device/IKeyListOwner.h"
#include "panels/keys/KeyFunctionTables.h"
#include "platform/TextCompare.h"
#include "ui/CResourceManager.h"
#include "ui/controls/CDeviceKeyButtonUI.h"

namespace panels {

namespace {

using namespace keys;

struct NameRow {
    uint8_t type;
    uint8_t byte1;
    uint8_t byte0;
    std::string name;  // a language key
};

constexpr NameRow Consumer(uint16_t usage, std::string_view name) {
    return {kTypeMedia, static_cast<uint8_t>(usage & 0xFF), static_cast<uint8_t>(usage >> 8),
            std::string(name)};
}

// Every key a keyboard can have, in the order labels are looked up.
const std::vector<NameRow>& KeyNames() {
    static const std::vector<NameRow> rows = [] {
        std::vector<NameRow> all;
        for (const input::KeyRow& row : input::KeyRows())
            all.push_back({kTypeKey, row.modifierBit, row.usage, input::KeyNameKey(row)});
        all.push_back({kTypeKey, 0, 0x32, "keyboard_key_K42"});
        for (const NameRow& row : {
                 Consumer(0x0192, "keyboard_key_Launch App2"),
                 Consumer(0x0223, "keyboard_key_Browaer Home"),
                 Consumer(0x00CD, "keyboard_key_Media Play Pause"),
                 Consumer(0x0221, "keyboard_key_Browser Search"),
                 Consumer(0x018A, "keyboard_key_Launch Mail"),
                 Consumer(0x00E9, "keyboard_key_Volume Up"),
                 Consumer(0x00E2, "keyboard_key_Volume Mute"),
                 Consumer(0x00B7, "keyboard_key_Media Stop"),
                 Consumer(0x00EA, "keyboard_key_Volume Down"),
                 Consumer(0x022A, "keyboard_key_Browser Favorites"),
                 Consumer(0x0225, "keyboard_key_Browser ForWard"),
                 Consumer(0x0224, "keyboard_key_Browser Back"),
                 Consumer(0x00B6, "keyboard_key_Media Prev Track"),
                 Consumer(0x00B5, "keyboard_key_Media Next Track"),
                 Consumer(0x0194, "keyboard_key_Computer"),
                 Consumer(0x0227, "keyboard_key_Browser Refresh"),
                 Consumer(0x0226, "wed_stop"),
                 Consumer(0x0183, "keyboard_key_Launch Media Select"),
             })
            all.push_back(row);
        all.push_back({kTypeSystem, 0x01, 0, "keyboard_key_Power"});
        all.push_back({kTypeSystem, 0x02, 0, "keyboard_key_Sleep"});
        all.push_back({kTypeSystem, 0x04, 0, "keyboard_key_Wakeup"});
        all.push_back({0xA0, 0x01, 0, "keyboard_key_FN"});
        all.push_back({0xA0, 0x1B, 0, "keyboard_key_GM"});
        for (uint8_t m = 1; m <= 5; ++m)
            all.push_back({0xD0, 0xA2, m, "keyboard_key_M" + std::to_string(m)});
        return all;
    }();
    return rows;
}

const std::array<NameRow, 4>& SpecialFunctions() {
    static const std::array<NameRow, 4> rows = {{{0xA0, 0x02, 0, "mouse_key_smart_key"},
                                                 {0xA0, 0x00, 0, "close_text"},
                                                 {0x16, 0x00, 0, "mouse_key_DPI_shift"},
                                                 {0x23, 0x00, 0, "show_window"}}};
    return rows;
}

std::string Display(std::string_view key) {
    return ui::CResourceManager::GetInstance().GetText(key);
}

std::string KeyLabelOf(const KeyAssignment& a) {
    const auto& rows = KeyNames();
    for (const NameRow& row : rows)
        if (row.byte1 == a.byte1 && row.byte0 == a.byte0) return Display(row.name);
    if (a.byte1 == 0 && a.byte0 == 0) return Display("close_text");
    std::string joined;
    for (const NameRow& row : rows) {
        if (row.type != a.type) continue;
        if (row.byte1 != a.byte1 && row.byte0 != a.byte0) continue;
        if (!joined.empty()) joined += '+';
        joined += Display(row.name);
    }
    return joined;
}

std::optional<std::string> SpecialLabelOf(const KeyAssignment& a, bool compareByte0) {
    for (const NameRow& row : SpecialFunctions())
        if (row.type == a.type && row.byte1 == a.byte1 && (!compareByte0 || row.byte0 == a.byte0))
            return Display(row.name);
    return std::nullopt;
}

std::string ItemLabel(std::span<const ItemBytes> items, const KeyAssignment& a, bool byte1Only) {
    for (const ItemBytes& item : items)
        if (item.byte1 == a.byte1 && (byte1Only || item.byte0 == a.byte0))
            return Display(item.nameKey);
    return {};
}

}  // namespace

std::optional<std::string> KeyLabels::LabelOf(const KeyAssignment& a,
                                              const std::vector<std::string>& macroNames) {
    static constexpr const char* kEdits[] = {"custem_cut",  "custem_copy", "custem_paste",
                                             "custem_undo", "custem_select_all",
                                             "custem_find", "custem_new",  "custem_save",
                                             "custem_open"};
    switch (a.type) {
        case 0:
        case kTypeKey: return KeyLabelOf(a);
        case kTypeMouseButton: return ItemLabel(MouseButtonItems(), a, true);
        case kTypeSwing:
            return Display((a.byte0 & 0x80) != 0 ? "mouse_key_right_Swing" : "mouse_key_left_Swing");
        case kTypeWheel:
            return Display((a.byte0 & 0x80) != 0 ? "mouse_key_down_Swing" : "mouse_key_up_Swing");
        case kTypeDpi: return ItemLabel(DpiItems(), a, true);
        case kTypeRapidFire: return Display("mouse_key_fire_key");
        case 0x22:
            if (a.byte1 < std::size(kEdits)) return Display(kEdits[a.byte1]);
            return std::string();
        case kTypeMedia: return ItemLabel(MediaItems(), a, false);
        case kTypeSystem: return ItemLabel(SystemItems(), a, true);
        case kTypeMacro:
        case kTypeMacroRepeat:
            if (macroNames.empty()) return std::nullopt;
            if (a.byte1 < macroNames.size()) return macroNames[a.byte1];
            return std::string();
        case 0x16: return Display("mouse_key_DPI_shift");
        case 0x23: return SpecialLabelOf(a, true).value_or(std::string());
        case 0xA0:
        case 0xD0:
            if (auto special = SpecialLabelOf(a, false)) return special;
            for (const NameRow& row : KeyNames())
                if (row.type == a.type && row.byte1 == a.byte1 && row.byte0 == a.byte0)
                    return Display(row.name);
            return std::string();
        case 0x15:
        case 0x21:
        case 0x50:
        case 0x60:
        case kTypeShortcutOnly:
        case 0xC0: return std::nullopt;
        default: return std::string("关闭");
    }
}

std::string KeyLabels::OwnNameOf(uint8_t type, uint8_t byte1, uint8_t byte0) {
    for (const NameRow& row : KeyNames())
        if (row.type == type && row.byte1 == byte1 && row.byte0 == byte0) return Display(row.name);
    return {};
}

std::string KeyLabels::GunLabelOf(const KeyAssignment& assignment) {
    return Display("gun_" + std::to_string(assignment.byte1 + 1) + "_txt");
}

std::string KeyLabels::OwnNameOf(const model::KeyEntry& factory) {
    std::string own = OwnNameOf(factory.type, factory.byte1, factory.byte0);
    // A mouse's own keys (buttons, DPI keys) are named by what they do.
    if (own.empty()) own = LabelOf({0, factory.type, factory.byte1, factory.byte0}, {}).value_or("");
    return own;
}

std::optional<std::string> KeyLabels::AssignmentOf(model::CLumitrekUSBDevice& device,
                                                   const KeyAssignment& current) {
    // A mouse names its gun keys after the recoil pattern they fire.
    if (model::CLumitrekMouseDevice::Of(&device) != nullptr && current.type == kTypeGun &&
        current.byte1 < kGuns)
        return GunLabelOf(current);
    return LabelOf(current, device.MacroNames());
}

void KeyLabels::Refresh(model::CLumitrekUSBDevice& device) {
    model::IKeyListOwner* owner = model::IKeyListOwner::Of(&device);
    if (owner == nullptr) return;
    const std::vector<KeyMapping> keys = owner->GetKeyList();
    const std::span<const model::KeyEntry> factory = owner->FactoryKeys();
    const auto& buttons = device.KeyButtons();
    const std::string arrow = Display("Key_Set");
    for (std::size_t i = 0; i < keys.size() && i < buttons.size() && i < factory.size(); ++i) {
        auto* button = buttons[i] != nullptr ? static_cast<ui::CDeviceKeyButtonUI*>(
                                                   buttons[i]->GetInterface("DeviceKeyButton"))
                                             : nullptr;
        if (button == nullptr) continue;
        const std::optional<std::string> label = AssignmentOf(device, keys[i].current);
        if (!label) continue;
        const std::string own = OwnNameOf(factory[i]);
        button->SetKeySetImageHidden(platform::EqualsNoCase(*label, own));
        button->SetToolTip(own + arrow + *label);
    }
}

}  // namespace panels
