// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings/SettingsWindows.h"

#include "app/DeviceList.h"
#include "app/LanguageManager.h"
#include "app/OperationIds.h"
#include "app/ShellIds.h"
#include "app/ShellOperations.h"
#include "app/settings/CAboutWnd.h"
#include "app/settings/CSetWnd.h"
#include "app/settings/CSkinFrame.h"
#include "app/settings/SkinRecord.h"
#include "model/device/CLumitrekUSBDevice.h"
#include "platform/DesktopSettings.h"
#include "ui/CControlUI.h"
#include "ui/CMessageLoop.h"
#include "ui/CPaintManagerUI.h"
#include "ui/DpiValue.h"

namespace app {

namespace {

// Where the settings window opens beside the main window: this far inside its right edge
// and below its top, at 96 DPI.
constexpr int kBesideRight = 30;
constexpr int kBesideTop = 60;

// A live window of this thread by handle.
ui::CWindowWnd* Live(ui::WindowHandle handle) {
    return ui::CWindowWnd::FromHandle(handle);
}

}  // namespace

SettingsWindows::SettingsWindows(Host host) : host_(std::move(host)) {}

SettingsWindows::~SettingsWindows() {
    for (ui::WindowHandle handle : {settings_, about_, skinChooser_}) {
        if (ui::CWindowWnd* window = Live(handle)) window->DestroyWindow();
    }
}

void SettingsWindows::Register(ShellOperations& operations) {
    operations.Register(ops::kShellOpenSettingsBeside,
                        [this](const RouteCall&) { OpenSettingsWindow(false); });
    operations.Register(ops::kShellOpenSettings,
                        [this](const RouteCall&) { OpenSettingsWindow(true); });
    operations.Register(ops::kShellOpenAbout, [this](const RouteCall&) { OpenAboutWindow(); });
    operations.Register(ops::kShellOpenSkinChooser,
                        [this](const RouteCall&) { OpenSkinChooser(); });
    operations.Register(ops::kShellCloseChildWindows,
                        [this](const RouteCall&) { CloseChildWindows(); });
    operations.Register(ops::kShellOpenDeviceSettings, [](const RouteCall& call) {
        platform::DesktopSettings::Open(static_cast<int>(call.n));
    });
}

std::vector<update::UpdateProduct> SettingsWindows::PrepareUpdateProducts(
    const DeviceList* devices) {
    std::vector<update::UpdateProduct> rows = update::UpdateProductTable();
    const int tabs = devices != nullptr ? devices->TabCount() : 0;
    for (std::size_t k = 0; k + 1 < rows.size(); ++k) {
        model::CLumitrekUSBDevice* device =
            static_cast<int>(k) < tabs ? devices->DeviceAt(static_cast<int>(k)) : nullptr;
        rows[k].version = device != nullptr && device->IsConnected()
                              ? device->OpenedAttributes().versionNumber
                              : 0;
    }
    rows.back().version = update::InstalledAppVersion();
    std::erase_if(rows, [](const update::UpdateProduct& row) { return row.version == 0; });
    return rows;
}

void SettingsWindows::OpenSettingsWindow(bool centred) {
    if (Live(settings_) != nullptr) return;
    const ui::WindowHandle main = host_.window ? host_.window() : 0;
    CSetWnd::Setup setup;
    setup.owner = main;
    setup.languages = host_.languages;
    setup.trayShown = host_.trayShown ? host_.trayShown() : true;
    setup.languageIndex = host_.languages != nullptr ? host_.languages->CurrentIndex() : -1;
    setup.rows = PrepareUpdateProducts(host_.devices ? host_.devices() : nullptr);
    setup.service = update::UpdateService::Configured();
    auto window = std::make_unique<CSetWnd>(std::move(setup));
    if (!window->Create(main, "SetWnd", ui::UI_WNDSTYLE_POPUP, ui::UI_WNDSTYLE_EX_TOOLWINDOW, 0, 0, CSetWnd::kWidth,
                        CSetWnd::kHeight))
        return;
    const int dpi = host_.manager != nullptr ? host_.manager->GetDPI() : 96;
    window->SetDPI(dpi);
    settings_ = window->GetHWND();
    ui::CWindowWnd* owner = Live(main);
    if (centred || owner == nullptr) {
        window->CenterWindow();
    } else {
        const ui::Rect beside = owner->GetWindowRect();
        const ui::Rect rc = window->GetWindowRect();
        const int x = beside.right - rc.Width() - kBesideRight * dpi / 96;
        const int y = beside.top + kBesideTop * dpi / 96;
        window->SetWindowPos(ui::Rect{x, y, x + rc.Width(), y + rc.Height()});
    }
    window->ShowModal();
    settings_ = 0;
    // The loop may have been quit under the window, leaving it open.
    if (window->IsWindow()) window->DestroyWindow();
}

void SettingsWindows::OpenAboutWindow() {
    if (Live(about_) != nullptr) return;
    const ui::WindowHandle main = host_.window ? host_.window() : 0;
    auto window = std::make_unique<CAboutWnd>(update::UpdateProductTable().back().versionText);
    if (!window->Create(main, "  ", ui::UI_WNDSTYLE_POPUP, ui::UI_WNDSTYLE_EX_TOOLWINDOW, 0, 0, CAboutWnd::kWidth,
                        CAboutWnd::kHeight))
        return;
    if (host_.manager != nullptr)
        window->GetPaintManager().SetDPI(ui::DpiValue::Checked(host_.manager->GetDPI()));
    window->ShowVersion();
    window->CenterWindow();
    about_ = window->GetHWND();
    window->ShowModal();
    about_ = 0;
    if (window->IsWindow()) window->DestroyWindow();
}

void SettingsWindows::OpenSkinChooser() {
    if (ui::CWindowWnd* open = Live(skinChooser_)) open->DestroyWindow();
    skinChooser_ = 0;
    ui::CWindowWnd* main = Live(host_.window ? host_.window() : 0);
    ui::CControlUI* anchor =
        host_.manager != nullptr ? host_.manager->FindControl("skinbtn") : nullptr;
    if (main == nullptr || anchor == nullptr) return;
    const ui::Rect window = main->GetWindowRect();
    const ui::Rect pos = anchor->GetPos();
    std::weak_ptr<SettingsWindows*> alive = alive_;
    CSkinFrame* frame =
        CSkinFrame::Open(ui::Point{window.left + pos.right, window.top + pos.bottom},
                         host_.manager->GetDPI(), [alive](const SkinChangedParam& change) {
                             if (auto self = alive.lock()) (*self)->ApplySkin(change);
                         });
    if (frame != nullptr) skinChooser_ = frame->GetHWND();
}

void SettingsWindows::CloseChildWindows() {
    for (ui::WindowHandle handle : {settings_, about_}) {
        if (Live(handle) != nullptr) ui::CMessageLoop::SendMessage(handle, ui::WM_CLOSE, 0, 0);
    }
}

void SettingsWindows::RelayUpdateMessage(std::uintptr_t wParam, std::intptr_t lParam) {
    if (Live(settings_) != nullptr)
        ui::CMessageLoop::PostMessage(settings_, kUpdateRelayMessage, wParam, lParam);
}

void SettingsWindows::NotifyLanguageChanged() {
    for (ui::WindowHandle handle : {settings_, about_}) {
        if (Live(handle) != nullptr) ui::CMessageLoop::SendMessage(handle, kMsgApplyLanguage, 0, 0);
    }
}

void SettingsWindows::RestoreSkin() {
    if (std::optional<std::string> image = SkinRecord::Restorable()) ApplySkin({false, 0, *image});
}

void SettingsWindows::ApplySkin(const SkinChangedParam& change) {
    if (host_.manager != nullptr) SkinRecord::Apply(*host_.manager, change);
}

}  // namespace app
