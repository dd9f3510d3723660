// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The headset's voice-changer page ("MagicControlItem"): the switch and, while it is on,
// the four voices. Setting a control here raises no notification.
//
// UI thread only.
#include <string>

#include "model/device/IMagicPanel.h"
#include "panels/NamedControls.h"
#include "ui/CHorizontalLayoutUI.h"

namespace panels {

class CMagicControlUI : public ui::CHorizontalLayoutUI, public model::IMagicPanel {
public:
    static constexpr int kVoices = 4;

    std::string GetClass() const override;
    // "MagicControl" gives this panel, model::IMagicPanel::kInterfaceName its interface.
    void* GetInterface(std::string_view name) override;

    void SetEnabled(bool on) override;
    bool IsEnabled() const override;
    void SelectVoice(int voice) override;
    // The ticked voice (1-4), 0 for none.
    int GetVoice() const;

private:
    NamedControls controls_{*this};
};

}  // namespace panels
