// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/keys/KeyInfoList.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/device/CLumitrekUSBDevice.h"
#include "model/device/IKeyListOwner.h"
#include "model/device/PanelLookup.h"
#include "panels/SkinStyle.h"
#include "panels/keys/KeyLabels.h"
#include "ui/CLabelUI.h"
#include "ui/CListContainerElementUI.h"
#include "ui/CResourceManager.h"

namespace panels {

namespace {

constexpr const char* kOwnStyle = "key_info_own";
constexpr const char* kAssignmentStyle = "key_info_assignment";
constexpr const char* kOffKey = "close_text";

}  // namespace

void KeyInfoList::Rebuild(model::CLumitrekUSBDevice& device) {
    model::IKeyListOwner* owner = model::IKeyListOwner::Of(&device);
    ui::CControlUI* control = model::FindInPage(device, kListName);
    auto* list = control != nullptr
                     ? static_cast<ui::CContainerUI*>(control->GetInterface("Container"))
                     : nullptr;
    if (owner == nullptr || list == nullptr) return;
    list->RemoveAll();
    const std::vector<KeyMapping> keys = owner->GetKeyList();
    const std::span<const model::KeyEntry> factory = owner->FactoryKeys();
    const std::size_t count = std::min({keys.size(), factory.size(), device.KeyButtons().size()});
    ui::CPaintManagerUI* skin = list->GetManager();
    const std::string arrow = ui::CResourceManager::GetInstance().GetText("Key_Set");
    for (std::size_t i = 0; i < count; ++i) {
        const std::string own = KeyLabels::OwnNameOf(factory[i]);
        // A type whose label the key keeps still does its own function.
        std::string does = KeyLabels::AssignmentOf(device, keys[i].current).value_or(own);
        // A key that does nothing shows it so rather than as a blank.
        if (does.empty()) does = ui::CResourceManager::GetInstance().GetText(kOffKey);
        auto* entry = new ui::CListContainerElementUI();
        entry->SetName(kEntryName);
        entry->SetFixedHeight(kEntryHeight);
        entry->SetChildVAlign(4);
        ui::CLabelUI* name = SkinStyle::Label(kOwnStyle, own, false, skin);
        name->SetFixedWidth(kOwnNameWidth);
        entry->Add(name);
        entry->Add(SkinStyle::Label(kAssignmentStyle, does, false, skin));
        // Long names are cut short on screen; the tip reads in full.
        entry->SetToolTip(own + arrow + does);
        list->Add(entry);
    }
}

}  // namespace panels
