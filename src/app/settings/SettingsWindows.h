// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's secondary windows: the settings window (beside the main window from
// "setbtn", centred from the tray menu and message 0xC15), the about window, the skin
// chooser and the desktop's own keyboard and mouse settings. It registers their
// operations, keeps the handles of the open windows (at most one of each), relays update
// reports to the settings window and tells the open windows about a new language.
//
// UI thread only.
#include <functional>
#include <memory>
#include <vector>

#include "ui/UIDefs.h"
#include "update/UpdateProduct.h"

namespace ui {
class CPaintManagerUI;
}

namespace app {

class DeviceList;
class LanguageManager;
class ShellOperations;
struct SkinChangedParam;

class SettingsWindows {
public:
    struct Host {
        ui::CPaintManagerUI* manager = nullptr;  // the main window's
        std::function<ui::WindowHandle()> window;
        std::function<DeviceList*()> devices;
        LanguageManager* languages = nullptr;
        // Whether a tray host shows the program's icon (none given: one does).
        std::function<bool()> trayShown;
    };

    explicit SettingsWindows(Host host);
    ~SettingsWindows();  // closes what is still open
    SettingsWindows(const SettingsWindows&) = delete;
    SettingsWindows& operator=(const SettingsWindows&) = delete;

    void Register(ShellOperations& operations);

    // The rows of the update page: each device tab's release number while its device is
    // connected, the program's own version for the last row; only rows with a version.
    static std::vector<update::UpdateProduct> PrepareUpdateProducts(const DeviceList* devices);

    void OpenSettingsWindow(bool centred);
    void OpenAboutWindow();
    void OpenSkinChooser();
    // WM_CLOSE to the settings and about windows (the settings window may refuse).
    void CloseChildWindows();
    // An update report of another process, for the settings window if it is open.
    void RelayUpdateMessage(std::uintptr_t wParam, std::intptr_t lParam);
    // The language changed: the open windows show it.
    void NotifyLanguageChanged();
    // The background recorded in "main.ini", shown again at start.
    void RestoreSkin();

    ui::WindowHandle SettingsHandle() const { return settings_; }
    ui::WindowHandle AboutHandle() const { return about_; }
    ui::WindowHandle SkinChooserHandle() const { return skinChooser_; }

private:
    void ApplySkin(const SkinChangedParam& change);

    Host host_;
    ui::WindowHandle settings_ = 0;
    ui::WindowHandle about_ = 0;
    ui::WindowHandle skinChooser_ = 0;
    // The skin chooser's answers reach the main window only while this lives.
    std::shared_ptr<SettingsWindows*> alive_ = std::make_shared<SettingsWindows*>(this);
};

}  // namespace app
