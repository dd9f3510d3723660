// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's main window and the hub of the shell: it builds the main layout, owns the
// tray icon, the menus, the device list and the worker threads, and receives everything
// that happens: control notifications (handed to the routing table), messages from its
// own worker threads, messages of other processes (from the local socket), timers and
// power events.
//
// Threads: UI thread only, except SendScannerMessage/PostFirstScanDone, which the
// scanner calls from its thread and which only queue work on the window's loop.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/BackgroundDuties.h"
#include "app/ControlCreator.h"
#include "app/DeviceList.h"
#include "app/LanguageManager.h"
#include "app/NotifyRouter.h"
#include "app/PanelShell.h"
#include "app/ShellOperations.h"
#include "app/settings/SettingsWindows.h"
#include "device/scanner/DeviceScanner.h"
#include "device/scanner/ScannerClient.h"
#include "device/scanner/SlotList.h"
#include "panels/headset/HeadsetOperations.h"
#include "panels/lighting/LightingOperations.h"
#include "panels/profile/ProfileOperations.h"
#include "panels/keys/KeySetOperations.h"
#include "panels/macro/MacroOperations.h"
#include "panels/mouse/MouseOperations.h"
#include "panels/shoot/ShootOperations.h"
#include "panels/system/SystemOperations.h"
#include "platform/Event.h"
#include "ui/CTrayIcon.h"
#include "ui/WindowImplBase.h"

namespace app {

class CMainWnd : public ui::WindowImplBase, private device::ScannerClient {
public:
    // What the desktop (or its absence) does for the window.
    struct DesktopHooks {
        // Raises the window above others once it is shown (the desktop's own way).
        std::function<void(ui::WindowHandle)> raise;
        // Tells other processes whether the program drives the lighting (0/1).
        std::function<void(bool)> broadcastLightState;
    };

    CMainWnd();
    ~CMainWnd() override;

    std::string GetWindowClassName() const override { return "MainWnd"; }
    void SetDesktopHooks(DesktopHooks hooks) { hooks_ = std::move(hooks); }

    // ---- ui::WindowImplBase
    void Notify(ui::TNotifyUI& msg) override;
    ui::CControlUI* CreateControl(std::string_view className) override;

    // ---- state, for the application and the automation
    DeviceList& Devices() { return *devices_; }
    ShellOperations& Operations() { return operations_; }
    PanelShell& Panels() { return panelShell_; }
    LanguageManager& Languages() { return languages_; }
    SettingsWindows& Windows() { return settingsWindows_; }
    ui::CTrayIcon& TrayIcon() { return tray_; }
    // The doors whose work keeps the program running with no tray and the window closed.
    BackgroundDuties& Duties() { return duties_; }
    bool LightControl() const { return lightControl_; }
    bool IsAwake() const { return awake_; }
    bool IsInitialised() const { return initialised_; }
    // The scanner's first pass has been handled: every device attached at start has
    // arrived (its command channel is open) by now.
    bool FirstScanDone() const { return firstScanDone_; }
    // Started in the tray (--hidden, or no window at all for a command): the scanner's
    // first pass and arriving devices leave the window hidden until the user asks for it
    // from the tray or by starting the program again.
    void StartHidden() { stayHidden_ = true; }
    int Dpi() const { return m_pm.GetDPI(); }
    // The block the factory tool asks for: 2, 3, 0, 2, the number of device-type rows,
    // then vendor, product and kind of each row; 256 words.
    static std::vector<std::uint32_t> WorkToolTable();

    // Shows the window with the device list up to date and raises it.
    void BringToFront();
    // Lays the window out at the DPI the screen calls for; keeps it hidden if it was.
    void Relayout();
    // Stops the scanner; later sends from it return at once. Safe to call twice.
    void StopWorkerThreads();

protected:
    std::string GetSkinFile() override { return "XML_MAIN"; }
    void InitWindow() override;
    void OnClick(ui::TNotifyUI& msg) override;  // the routing table handles the title buttons
    std::intptr_t HandleCustomMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                                      bool& handled) override;
    std::intptr_t OnDestroy(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                            bool& handled) override;
    std::intptr_t OnDpiChanged(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                               bool& handled) override;
    std::intptr_t OnSysCommand(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                               bool& handled) override;

private:
    void OnWindowInit();
    void OnTimer(unsigned id);
    void RegisterShellOperations();
    void SetLightControl(bool on, bool broadcast);
    void ToggleFromTray();
    void OpenTrayMenu();
    void OnMenuCommand(const std::string& item);
    void HideToTray();
    // The close button, the desktop's close and the no-device notice's OK: to the tray,
    // or, with no tray to come back from, ended or kept for a background duty.
    void CloseWindow();
    void CloseChildWindows();
    // Tells the user, once the work at hand is done, that a profile file could not be
    // used as it was and what became of it.
    void TellProfileLost(model::CLumitrekUSBDevice& device, const CBasicProfiledata::LoadReport& report);
    // Once per start: the macro lists that were rebuilt from their macro files when the
    // pages were built, each with where its damaged file was kept.
    void TellMacroListsRebuilt();

    // ---- device::ScannerClient (scanner thread)
    void SendScannerMessage(uint32_t message, size_t slot) override;
    void PostFirstScanDone() override;

    ShellOperations operations_;
    NotifyRouter router_{operations_};
    std::unique_ptr<ControlCreator> creator_;
    LanguageManager languages_{m_pm};
    device::SlotList slots_;
    std::unique_ptr<DeviceList> devices_;
    std::unique_ptr<device::DeviceScanner> scanner_;
    PanelShell panelShell_;
    panels::ProfileOperations profileOperations_{panelShell_};
    panels::LightingOperations lightingOperations_{panelShell_};
    panels::SystemOperations systemOperations_{panelShell_};
    panels::MouseOperations mouseOperations_{panelShell_};
    panels::ShootOperations shootOperations_{panelShell_};
    SettingsWindows settingsWindows_{SettingsWindows::Host{
        &m_pm, [this] { return GetHWND(); }, [this] { return devices_.get(); }, &languages_,
        [this] { return tray_.RefreshHost(); }}};
    panels::MacroOperations macroOperations_{panelShell_};
    panels::KeySetOperations keySetOperations_{panelShell_};
    panels::HeadsetOperations headsetOperations_{panelShell_};
    // Tasks posted to the loop reach the window only while it lives.
    std::shared_ptr<CMainWnd*> alive_ = std::make_shared<CMainWnd*>(this);
    // Set at shutdown: a scanner send still waiting for the UI thread gives up.
    platform::Event shuttingDown_{platform::Event::Mode::ManualReset};
    ui::CTrayIcon tray_;
    ui::WindowHandle trayMenu_ = 0;
    ui::WindowHandle actionMenu_ = 0;
    DesktopHooks hooks_;
    BackgroundDuties duties_;
    bool backgroundNoticeGiven_ = false;
    bool lightControl_ = true;
    bool active_ = false;
    bool initialised_ = false;
    bool firstRootSize_ = true;
    bool awake_ = true;
    bool firstScanDone_ = false;
    bool stayHidden_ = false;
    bool laidOut_ = false;  // the first re-layout has run
};

}  // namespace app
