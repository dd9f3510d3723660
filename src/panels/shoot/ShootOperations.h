// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's handlers of the recoil pattern panel on the current mouse's page:
// weapon and shot selection, the shot editor, reset, import, export, and writing the four
// patterns into the mouse. With no mouse current (or no panel on its page) the controls
// are ignored.
//
// UI thread only.
#include "app/ShellOperations.h"
#include "panels/IPanelShell.h"

namespace panels {

class CShootControlUI;

class ShootOperations {
public:
    static constexpr const char* kFileFilter = "Shoot Files(*.shoot)|*.shoot;||";

    explicit ShootOperations(IPanelShell& shell) : shell_(shell) {}

    void Register(app::ShellOperations& operations);

    void Weapon(long n);
    void Shot(long n);
    void StepShot(int forward);
    void Direction(int vertical);
    void ShotEdited();
    void Reset();
    void Import();
    void Export();
    void Save();

private:
    CShootControlUI* Panel();

    IPanelShell& shell_;
};

}  // namespace panels
