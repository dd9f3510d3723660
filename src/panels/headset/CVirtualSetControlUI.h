// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The headset's virtual surround page ("VirtualSetControlItem"): the library's surround
// switch. Setting the switch here raises no notification.
//
// UI thread only.
#include <string>

#include "model/device/ISurroundPanel.h"
#include "panels/NamedControls.h"
#include "ui/CVerticalLayoutUI.h"

namespace panels {

class CVirtualSetControlUI : public ui::CVerticalLayoutUI, public model::ISurroundPanel {
public:
    static constexpr const char* kSwitch = "virtual_surround_option";

    std::string GetClass() const override;
    // "VirtualSetControl" gives this panel, model::ISurroundPanel::kInterfaceName its interface.
    void* GetInterface(std::string_view name) override;

    void SetSurround(bool on) override;
    bool IsSurroundOn() const override;

private:
    NamedControls controls_{*this};
};

}  // namespace panels
