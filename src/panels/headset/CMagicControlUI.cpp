// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/headset/CMagicControlUI.h"

#include "ui/COptionUI.h"

namespace panels {

namespace {

constexpr const char* kSwitch = "magic_enable_option";
constexpr const char* kVoiceLayout = "magic_option_layout";
constexpr const char* kVoiceOption = "magic_option_";

}  // namespace

std::string CMagicControlUI::GetClass() const {
    return "MagicControlUI";
}

void* CMagicControlUI::GetInterface(std::string_view name) {
    if (name == "MagicControl") return this;
    if (name == model::IMagicPanel::kInterfaceName) return static_cast<model::IMagicPanel*>(this);
    return CHorizontalLayoutUI::GetInterface(name);
}

void CMagicControlUI::SetEnabled(bool on) {
    if (auto* option = controls_.Find<ui::COptionUI>(kSwitch, "Option"))
        option->Selected(on, false);
    if (ui::CControlUI* layout = controls_.Find(kVoiceLayout)) layout->SetVisible(on);
}

bool CMagicControlUI::IsEnabled() const {
    const auto* option = controls_.Find<ui::COptionUI>(kSwitch, "Option");
    return option != nullptr && option->IsSelected();
}

void CMagicControlUI::SelectVoice(int voice) {
    for (int v = 1; v <= kVoices; ++v) {
        if (auto* option =
                controls_.Find<ui::COptionUI>(kVoiceOption + std::to_string(v), "Option"))
            option->Selected(v == voice, false);
    }
}

int CMagicControlUI::GetVoice() const {
    for (int v = 1; v <= kVoices; ++v) {
        const auto* option =
            controls_.Find<ui::COptionUI>(kVoiceOption + std::to_string(v), "Option");
        if (option != nullptr && option->IsSelected()) return v;
    }
    return 0;
}

}  // namespace panels
