// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the headset needs of its voice-changer panel ("MagicControlItem").
namespace model {

class IMagicPanel {
public:
    virtual ~IMagicPanel() = default;

    static constexpr const char* kInterfaceName = "IMagicPanel";
    static constexpr const char* kControlName = "MagicControlItem";

    // The switch, and the voice options shown only while it is on.
    virtual void SetEnabled(bool on) = 0;
    virtual bool IsEnabled() const = 0;
    // Ticks voice option n (1-4) and clears the others.
    virtual void SelectVoice(int voice) = 0;
};

}  // namespace model
