// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/shoot/CShootControlUI.h"

#include <algorithm>
#include <charconv>

#include "data/macro/ShootFile.h"
#include "platform/AtomicFile.h"
#include "ui/COptionUI.h"
#include "ui/CTabLayoutUI.h"

namespace panels {

namespace {

constexpr const char* kWeaponOption = "shoot_gun_op_";
constexpr const char* kWeaponPictures = "shoot_image_display_switch";
constexpr const char* kShotOption = "bullet_op_";
constexpr const char* kShotIndex = "bullet_select_index";
constexpr const char* kCheckX = "bullet_x_check";
constexpr const char* kCheckY = "bullet_y_check";
constexpr const char* kEditX = "bullet_x_eidt";
constexpr const char* kEditY = "bullet_y_eidt";
constexpr const char* kEditDelay = "bullet_delay_eidt";

std::string Numbered(const char* prefix, int n) {
    return prefix + std::to_string(n);
}

}  // namespace

void* CShootControlUI::GetInterface(std::string_view name) {
    if (name == kClassName) return this;
    if (name == model::IShootPanel::kInterfaceName) return static_cast<model::IShootPanel*>(this);
    return ui::CHorizontalLayoutUI::GetInterface(name);
}

ui::CControlUI* CShootControlUI::Find(std::string_view name) {
    return FindSubControl(name);
}

ui::COptionUI* CShootControlUI::Option(std::string_view name) {
    ui::CControlUI* control = Find(name);
    return control ? static_cast<ui::COptionUI*>(control->GetInterface("Option")) : nullptr;
}

std::filesystem::path CShootControlUI::WeaponFile(int slot) const {
    return ShootFile::PathOf(userFolder_, slot);
}

void CShootControlUI::SetShootFolders(const std::filesystem::path& user,
                                      const std::filesystem::path& defaults) {
    userFolder_ = user;
    defaultFolder_ = defaults;
}

void CShootControlUI::InitShootPanel() {
    for (int slot = 0; slot < ShootFile::kWeapons; ++slot)
        if (files_.ReadJsonFile(WeaponFile(slot)).isNull()) ResetWeapon(slot);
    // A shot is always shown: with none, what the user typed into the edits would go
    // nowhere.
    SelectShot(std::max(shot_, 0));
}

void CShootControlUI::SelectWeapon(int slot) {
    weapon_ = std::clamp(slot, 0, ShootFile::kWeapons - 1);
    for (int g = 0; g < ShootFile::kWeapons; ++g)
        if (ui::COptionUI* option = Option(Numbered(kWeaponOption, g)))
            option->Selected(g == weapon_, false);
    ui::CControlUI* control = Find(kWeaponPictures);
    if (auto* pictures =
            control ? static_cast<ui::CTabLayoutUI*>(control->GetInterface("TabLayout")) : nullptr)
        pictures->SelectItem(weapon_);
}

void CShootControlUI::SelectShot(int shot) {
    shot_ = std::clamp(shot, 0, ShootFile::kShots - 1);
    for (int b = 0; b < ShootFile::kShots; ++b)
        if (ui::COptionUI* option = Option(Numbered(kShotOption, b)))
            option->Selected(b == shot_, false);
    if (ui::CControlUI* index = Find(kShotIndex)) index->SetText(std::to_string(shot_ + 1));
    ShowShot();
}

void CShootControlUI::ShowShot() {
    // A file that is no pattern shows zeros, as a missing one does.
    const ShootFile::Shot shot =
        ShootFile::ReadShot(files_, WeaponFile(weapon_), std::max(shot_, 0))
            .value_or(ShootFile::Shot{});
    if (ui::COptionUI* x = Option(kCheckX)) x->Selected(shot.left, false);
    if (ui::COptionUI* y = Option(kCheckY)) y->Selected(shot.up, false);
    SetDirectionTextX();
    SetDirectionTextY();
    if (ui::CControlUI* edit = Find(kEditX)) edit->SetText(std::to_string(shot.x));
    if (ui::CControlUI* edit = Find(kEditY)) edit->SetText(std::to_string(shot.y));
    if (ui::CControlUI* edit = Find(kEditDelay)) edit->SetText(std::to_string(shot.delay));
}

int CShootControlUI::EditNumber(const char* name) {
    ui::CControlUI* edit = Find(name);
    if (edit == nullptr) return 0;
    const std::string text = edit->GetText();
    std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) return 0;
    long long value = 0;
    std::from_chars(text.data() + start, text.data() + text.size(), value);
    return static_cast<int>(std::clamp<long long>(value, 0, ShootFile::kMaxDelay));
}

bool CShootControlUI::SaveShot() {
    if (shot_ < 0) return false;
    ShootFile::Shot shot;
    ui::COptionUI* x = Option(kCheckX);
    ui::COptionUI* y = Option(kCheckY);
    shot.left = x != nullptr && x->IsSelected();
    shot.up = y != nullptr && y->IsSelected();
    shot.x = EditNumber(kEditX);
    shot.y = EditNumber(kEditY);
    shot.delay = EditNumber(kEditDelay);
    const bool written = ShootFile::WriteShot(files_, WeaponFile(weapon_), shot_, shot);
    // The edits show what the file keeps (a distance the mouse cannot take is cut).
    ShowShot();
    return written;
}

CShootControlUI::Transfer CShootControlUI::CopyPattern(const std::filesystem::path& from,
                                                       const std::filesystem::path& to,
                                                       bool mustBePattern) {
    const JsonDataFile files;
    // Read once, within the limits of a data file, so that what is checked is what is
    // copied.
    const std::string bytes = files.readjsonFile(from);
    if (bytes.empty()) return mustBePattern ? Transfer::NotAPattern : Transfer::Failed;
    if (mustBePattern && !ShootFile::IsPattern(bytes)) return Transfer::NotAPattern;
    return platform::WriteFileAtomically(to, bytes) ? Transfer::Done : Transfer::Failed;
}

bool CShootControlUI::ResetWeapon(int slot) {
    if (slot < 0 || slot >= ShootFile::kWeapons) return false;
    const bool copied = CopyPattern(ShootFile::PathOf(defaultFolder_, slot), WeaponFile(slot),
                                    false) == Transfer::Done;
    if (shot_ >= 0) SelectShot(shot_);
    return copied;
}

CShootControlUI::Transfer CShootControlUI::ImportWeapon(const std::filesystem::path& path) {
    if (path.empty()) return Transfer::Failed;
    const Transfer done = CopyPattern(path, WeaponFile(weapon_), true);
    if (shot_ >= 0) SelectShot(shot_);
    return done;
}

CShootControlUI::Transfer CShootControlUI::ExportWeapon(const std::filesystem::path& path) {
    if (path.empty()) return Transfer::Failed;
    return CopyPattern(WeaponFile(weapon_), path, false);
}

void CShootControlUI::SetDirectionText(const char* name, const char* selectedKey,
                                       const char* clearedKey) {
    if (ui::COptionUI* option = Option(name))
        option->SetText(option->IsSelected() ? selectedKey : clearedKey);
}

void CShootControlUI::SetDirectionTextX() {
    SetDirectionText(kCheckX, "mouse_move_to_left_text", "mouse_move_to_right_text");
}

void CShootControlUI::SetDirectionTextY() {
    SetDirectionText(kCheckY, "mouse_move_to_up_text", "mouse_move_to_down_text");
}

}  // namespace panels
