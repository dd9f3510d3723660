// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The recoil pattern panel of the mouse page: four weapon slots of 30 shots, each shot a
// left click, a horizontal and a vertical correction and a delay. The patterns live in the
// user folder as "ShootData_<slot>.Shoot" files (ShootFile); the default folder holds the
// ones a reset restores. Each shot edit is written to its file when an edit is left;
// writing the patterns into the mouse is the mouse's (CLumitrekMouseDevice).
//
// UI thread only.
#include <filesystem>
#include <string>
#include <string_view>

#include "data/JsonDataFile.h"
#include "model/device/IShootPanel.h"
#include "ui/CHorizontalLayoutUI.h"

namespace ui {
class COptionUI;
}

namespace panels {

class CShootControlUI : public ui::CHorizontalLayoutUI, public model::IShootPanel {
public:
    static constexpr const char* kClassName = "ShootControl";

    std::string GetClass() const override { return kClassName; }
    void* GetInterface(std::string_view name) override;

    // ---- model::IShootPanel
    void SetShootFolders(const std::filesystem::path& user,
                         const std::filesystem::path& defaults) override;
    void InitShootPanel() override;
    void SelectWeapon(int slot) override;

    void SelectShot(int shot);
    void PreviousShot() { SelectShot(shot_ - 1); }
    void NextShot() { SelectShot(shot_ + 1); }
    void ShowShot();
    // The shot's six events from the controls into the slot's file. False when the file
    // is not a pattern (then it is left alone) or could not be written.
    bool SaveShot();
    // The slot's file from the default folder, byte for byte. False when there is no
    // default to copy or it could not be written.
    bool ResetWeapon(int slot);
    enum class Transfer { Done, NotAPattern, Failed };
    // Only a file that is a pattern replaces the selected slot's, byte for byte.
    Transfer ImportWeapon(const std::filesystem::path& path);
    Transfer ExportWeapon(const std::filesystem::path& path);
    void SetDirectionTextX();
    void SetDirectionTextY();

    int SelectedWeapon() const { return weapon_; }
    int SelectedShot() const { return shot_; }
    std::filesystem::path WeaponFile(int slot) const;

private:
    ui::CControlUI* Find(std::string_view name);
    ui::COptionUI* Option(std::string_view name);
    void SetDirectionText(const char* option, const char* selectedKey, const char* clearedKey);
    int EditNumber(const char* name);
    // Copies the bytes of a pattern file (at most what a data file may hold).
    static Transfer CopyPattern(const std::filesystem::path& from, const std::filesystem::path& to,
                                bool mustBePattern);

    std::filesystem::path userFolder_;
    std::filesystem::path defaultFolder_;
    int weapon_ = 0;
    int shot_ = -1;
    JsonDataFile files_;
};

}  // namespace panels
