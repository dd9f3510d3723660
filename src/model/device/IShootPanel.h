// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the mouse needs of its page's recoil pattern panel ("ShootControlItem").
#include <filesystem>

namespace model {

class IShootPanel {
public:
    virtual ~IShootPanel() = default;

    static constexpr const char* kInterfaceName = "IShootPanel";
    static constexpr const char* kControlName = "ShootControlItem";

    // The user folder holds the patterns the panel edits; the default folder the ones a
    // reset restores.
    virtual void SetShootFolders(const std::filesystem::path& user,
                                 const std::filesystem::path& defaults) = 0;
    // Binds the controls and restores every pattern the user folder lacks.
    virtual void InitShootPanel() = 0;
    virtual void SelectWeapon(int slot) = 0;
};

}  // namespace model
