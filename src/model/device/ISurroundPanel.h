// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the headset needs of its virtual surround page ("VirtualSetControlItem").
namespace model {

class ISurroundPanel {
public:
    virtual ~ISurroundPanel() = default;

    static constexpr const char* kInterfaceName = "ISurroundPanel";
    static constexpr const char* kControlName = "VirtualSetControlItem";

    // The switch; setting it raises no notification.
    virtual void SetSurround(bool on) = 0;
    virtual bool IsSurroundOn() const = 0;
};

}  // namespace model
