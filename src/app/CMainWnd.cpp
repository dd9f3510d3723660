// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CMainWnd.h"

#include "app/CloseDecision.h"
#include "app/HookMessages.h"
#include "app/MessageBox.h"
#include "app/OperationIds.h"
#include "app/ShellIds.h"
#include "device/scanner/SupportedDevices.h"
#include "model/device/CLumitrekZO6533Device.h"
#include "panels/macro/CMacroControlUI.h"
#include "panels/macro/MacroOperations.h"
#include "panels/profile/CDeviceProfileUI.h"
#include "platform/SettingsStore.h"
#include "platform/Trace.h"
#include "ui/CControlUI.h"
#include "ui/CMenuWnd.h"
#include "ui/CMessageLoop.h"
#include "ui/CResourceManager.h"
#include "ui/DpiValue.h"
#include "ui/IListItemUI.h"

namespace app {

namespace {

constexpr int kTrayIconId = 107;
constexpr unsigned kRelayoutMs = 100;
constexpr unsigned kTrayMenuMs = 10;
constexpr unsigned kProfileSwitchMs = 400;
constexpr int kLayoutWidth = 1000;
constexpr int kLayoutHeight = 640;

// Set once the user asked not to hear again why the program stays without a tray.
constexpr const char* kBackgroundNoticeOff = "BackgroundNoticeOff";

const char* const kTitleButtons[] = {"closebtn", "maxbtn", "restorebtn", "minbtn", "skinbtn",
                                     "gamemodebtn", "cloudbtn", "smarteyesbtn", "setbtn"};

}  // namespace

CMainWnd::CMainWnd()
    : panelShell_(
          m_pm, [this] { return devices_.get(); }, [this] { return GetHWND(); },
          [this] { return Dpi(); }) {
    creator_ = std::make_unique<ControlCreator>(m_pm);
    devices_ = std::make_unique<DeviceList>(m_pm, *creator_, slots_);
    DeviceList::Hooks hooks;
    hooks.closeChildWindows = [this] { CloseChildWindows(); };
    hooks.selectProfilePage = &panels::ProfileOperations::SelectPage;
    hooks.severalDevices = &panels::LightingOperations::SetSeveralDevices;
    hooks.macroRecording = [this] { return macroOperations_.Recording(); };
    hooks.stopMacroRecording = [this] { macroOperations_.StopRecording(); };
    devices_->SetHooks(std::move(hooks));
    RegisterShellOperations();
    profileOperations_.Register(operations_);
    lightingOperations_.Register(operations_);
    systemOperations_.Register(operations_);
    mouseOperations_.Register(operations_);
    shootOperations_.Register(operations_);
    settingsWindows_.Register(operations_);
    languages_.SetChildWindowsNotifier([this] { settingsWindows_.NotifyLanguageChanged(); });
    macroOperations_.Register(operations_);
    keySetOperations_.Register(operations_);
    headsetOperations_.Register(operations_);
}

CMainWnd::~CMainWnd() {
    StopWorkerThreads();
    if (ui::CMenuWnd::IsOpen(trayMenu_)) ui::CMenuWnd::Close(trayMenu_);
    if (ui::CMenuWnd::IsOpen(actionMenu_)) ui::CMenuWnd::Close(actionMenu_);
    tray_.DeleteTrayIcon();
}

ui::CControlUI* CMainWnd::CreateControl(std::string_view className) {
    return creator_->CreateControl(className);
}

// ---- start-up ---------------------------------------------------------------------

void CMainWnd::InitWindow() {
    platform::Trace("InitWindow\n");
    // The default language until "windowinit" applies the saved one.
    ui::CResourceManager::GetInstance().LoadLanguage("lan_en.xml");
    for (const char* name : kTitleButtons) {
        if (m_pm.FindControl(name) == nullptr) platform::TraceF("title button %s missing\n", name);
    }
    tray_.CreateTrayIcon(GetHWND(), kTrayIconId, kProductName, kMsgTrayIcon);
}

void CMainWnd::OnWindowInit() {
    if (initialised_) return;
    if (hooks_.broadcastLightState) hooks_.broadcastLightState(true);
    // A language that only follows the desktop's locale is not a choice: it is not kept.
    languages_.ApplyLanguage(languages_.ReadSavedLanguage(), languages_.HasSavedChoice());
    settingsWindows_.RestoreSkin();
    devices_->CreateDevices();
    for (int i = 0; i < devices_->TabCount(); ++i) {
        if (model::CLumitrekUSBDevice* device = devices_->DeviceAt(i))
            device->SetProfileNoticeHandler(
                [this](model::CLumitrekUSBDevice& lost, const CBasicProfiledata::LoadReport& report) {
                    TellProfileLost(lost, report);
                });
        if (auto* headset = model::CLumitrekZO6533Device::Of(devices_->DeviceAt(i)))
            headset->SetAudioNoticeHandler(
                [this](std::string_view text) { panelShell_.ShowKeyedMessage(text, 0); });
    }
    TellMacroListsRebuilt();
    ShowWindow(false, false);
    shuttingDown_.Reset();
    device::ScannerClient& client = *this;
    scanner_ = std::make_unique<device::DeviceScanner>(slots_, client);
    scanner_->Start();
    // The synchronised lighting of several devices is not offered: nothing would ever
    // put a device into it, so no thread is kept waking up for it.
    SetTimer(kTimerRelayout, kRelayoutMs);
    initialised_ = true;
}

// ---- notifications ----------------------------------------------------------------

void CMainWnd::Notify(ui::TNotifyUI& msg) {
    if (msg.sType == "timer" && devices_->OnTimer(msg)) return;
    const bool skipDefault = router_.Route(msg);
    if (!skipDefault && IsWindow()) WindowImplBase::Notify(msg);
}

void CMainWnd::OnClick(ui::TNotifyUI& /*msg*/) {}

void CMainWnd::RegisterShellOperations() {
    namespace op = ops;
    operations_.Register(op::kShellWindowInit, [this](const RouteCall&) { OnWindowInit(); });
    operations_.Register(op::kShellWindowSize, [this](const RouteCall&) {
        if (initialised_ && firstRootSize_) {
            firstRootSize_ = false;
            Relayout();
        }
    });
    operations_.Register(op::kShellClose, [this](const RouteCall&) { CloseWindow(); });
    operations_.Register(op::kShellExit, [this](const RouteCall&) {
        CloseChildWindows();
        Close(0);
    });
    operations_.Register(op::kShellHide, [this](const RouteCall&) { CloseWindow(); });
    operations_.Register(op::kShellToggleLightControl,
                         [this](const RouteCall&) { SetLightControl(!lightControl_, true); });
    operations_.Register(op::kShellMinimize, [this](const RouteCall&) {
        SendMessage(ui::WM_SYSCOMMAND, ui::SC_MINIMIZE, 0);
    });
    operations_.Register(op::kShellMaximize, [this](const RouteCall&) {
        SendMessage(ui::WM_SYSCOMMAND, ui::SC_MAXIMIZE, 0);
    });
    operations_.Register(op::kShellRestore, [this](const RouteCall&) {
        SendMessage(ui::WM_SYSCOMMAND, ui::SC_RESTORE, 0);
    });
    operations_.Register(op::kDeviceSelect, [this](const RouteCall&) {
        macroOperations_.StopRecording();  // a recording belongs to the device it began on
        devices_->OnDeviceSelectChanged();
    });
    operations_.Register(op::kDeviceSelectPrev, [this](const RouteCall&) { devices_->SelectPrevious(); });
    operations_.Register(op::kDeviceSelectNext, [this](const RouteCall&) { devices_->SelectNext(); });
    operations_.Register(op::kDevicePage, [this](const RouteCall& call) { devices_->ShowFunctionPage(call.arg); });
    operations_.Register(op::kShellOpenMacroActionMenu, [this](const RouteCall& call) {
        // The menu's items act on the selected row: the row activated is that row, as the
        // press of its double click made it.
        auto* row = call.msg.pSender != nullptr ? static_cast<ui::IListItemUI*>(
                                                      call.msg.pSender->GetInterface("ListItem"))
                                                : nullptr;
        if (row != nullptr && row->GetOwner() != nullptr && !row->IsSelected())
            row->GetOwner()->SelectItem(row->GetIndex(), false, false);
        if (ui::CMenuWnd::IsOpen(actionMenu_)) ui::CMenuWnd::Close(actionMenu_);
        actionMenu_ = 0;
        const ui::Point origin = m_pm.GetWindowOrigin();
        const ui::Point mouse = m_pm.GetMousePos();
        if (ui::CMenuWnd* menu = ui::CMenuWnd::CreateMenu(
                GetHWND(), "XML\\Menus\\macro_action_menu.xml",
                ui::Point{origin.x + mouse.x, origin.y + mouse.y},
                ui::eMenuAlignment_Left | ui::eMenuAlignment_Top)) {
            actionMenu_ = menu->GetHWND();
        }
    });
    operations_.Register(op::kProfileComboPicked, [this](const RouteCall&) {
        // The device is named now: by the time the timer fires, an unplug may have made
        // another device current.
        operations_.Call(op::kProfilePicked);
        SetTimer(kTimerProfileSwitch, kProfileSwitchMs);
    });
}

// ---- messages ---------------------------------------------------------------------

std::intptr_t CMainWnd::HandleCustomMessage(unsigned msg, std::uintptr_t wParam,
                                            std::intptr_t lParam, bool& handled) {
    handled = false;
    if (const auto hook = RouteOfHookMessage(msg)) {
        ui::TNotifyUI notice;
        notice.sType = "hook";
        notice.wParam = wParam;
        notice.lParam = lParam;
        operations_.Call(hook->operation, RouteCall{notice, hook->name, 0, hook->arg});
        handled = true;
        return 0;
    }
    switch (msg) {
        case ui::WM_ACTIVATE:
            active_ = wParam != 0;
            return 0;
        case ui::WM_SHOWWINDOW:
        case ui::WM_SYSCOMMAND:
            // Whether the device pictures are seen changes once this message has run.
            PostMessage(kMsgPicturesMoved);
            return 0;
        case kMsgPicturesMoved:
            if (devices_) devices_->OnPicturesMoved();
            handled = true;
            return 0;
        case kWmMouseHover:
        case kWmMouseLeave:
            // No device does anything with the pointer being over the window yet.
            if (!active_) platform::Trace(msg == kWmMouseHover ? "鼠标移入\n" : "鼠标移出\n");
            return 0;
        case kActivateMessage:
            platform::TraceF("软件标示 %u，%lxd%lxd\n", msg, static_cast<unsigned long>(wParam),
                             static_cast<unsigned long>(lParam));
            if (lParam == 0) firstScanDone_ = true;  // the scanner's, not another copy's
            if (lParam != 0) stayHidden_ = false;
            if (!stayHidden_) BringToFront();
            handled = true;
            return 0;
        case kUpdateRelayMessage:
            settingsWindows_.RelayUpdateMessage(wParam, lParam);
            handled = true;
            return 0;
        case kLightControlMessage:
            if (wParam == 1) SetLightControl(lParam != 0, false);
            handled = true;
            return 0;
        case kWmPowerBroadcast:
            if (wParam == kPbtSuspend) {
                awake_ = false;
                devices_->SetLightControl(false);
            } else if (wParam == kPbtResumeAutomatic) {
                awake_ = true;
                // The scanner went on while its messages were left alone: the devices
                // catch up first, so that the lighting goes to live channels only.
                const bool arrived = devices_->Reconcile();
                devices_->SetLightControl(lightControl_);
                if (arrived && !stayHidden_) BringToFront();
            }
            handled = true;
            return 0;
        default:
            break;
    }
    // While the computer sleeps, everything below is left alone. A removal is noted all
    // the same: a device replugged onto the same node is otherwise indistinguishable from
    // one that stayed, when waking up sets the devices right.
    if (!awake_) {
        if (msg == kMsgDeviceRemoved) devices_->NoteMissedRemoval(static_cast<size_t>(wParam));
        return 0;
    }
    switch (msg) {
        case kWmDisplayChange:
            platform::Trace("显示器分辨率发生变化\n");
            Relayout();
            handled = true;
            return 0;
        case ui::WM_TIMER:
            OnTimer(static_cast<unsigned>(wParam));
            handled = true;
            return 0;
        case kMsgTrayIcon:
            if (lParam == ui::WM_LBUTTONUP) ToggleFromTray();
            if (lParam == ui::WM_RBUTTONUP) SetTimer(kTimerTrayMenu, kTrayMenuMs);
            handled = true;
            return 0;
        case kMsgKeyCapture:
            operations_.Call(wParam != 0 ? ops::kKeyCaptureStart : ops::kKeyCaptureStop);
            handled = true;
            return 0;
        case kMsgMenuCommand: {
            const auto* cmd = reinterpret_cast<const ui::MenuCmd*>(wParam);
            if (cmd != nullptr) OnMenuCommand(cmd->szName);
            handled = true;
            return 0;
        }
        case kMsgDpiNotice:
            platform::Trace("界面 DPI 1发生变化\n");
            return 0;
        case kMsgShowProgress:
            if (ui::CControlUI* progress = m_pm.FindControl("setting_progress")) progress->SetVisible(true);
            handled = true;
            return 0;
        case kMsgApplyLanguage:
            languages_.ApplyLanguage(static_cast<int>(wParam));
            // Texts the panels compose themselves follow the language too.
            for (auto* device : devices_->Keyboards()) device->RefreshPanels();
            for (auto* device : devices_->Mice()) device->RefreshPanels();
            handled = true;
            return 0;
        case kMsgDeviceArrived:
            devices_->OnDeviceArrived(static_cast<size_t>(wParam));
            if (!stayHidden_) BringToFront();
            handled = true;
            return 0;
        case kMsgDeviceRemoved:
            devices_->OnDeviceRemoved(static_cast<size_t>(wParam));
            handled = true;
            return 0;
        case kMsgOpenSettings:
            operations_.Call(ops::kShellOpenSettings);
            handled = true;
            return 0;
        case kMsgClearUpdateMark:
            if (ui::CControlUI* set = m_pm.FindControl("setbtn")) set->SetForeImage("");
            handled = true;
            return 0;
        default:
            return 0;
    }
}

void CMainWnd::OnTimer(unsigned id) {
    switch (id) {
        case kTimerRelayout:
            KillTimer(id);
            if (laidOut_) break;  // shown (and laid out) before the timer came
            Relayout();
            m_pm.Invalidate();
            break;
        case kTimerTrayMenu:
            KillTimer(id);
            OpenTrayMenu();
            break;
        case kTimerProfileSwitch:
            KillTimer(id);
            operations_.Call(ops::kProfileSwitch);
            break;
        default:
            break;
    }
}

std::intptr_t CMainWnd::OnDpiChanged(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                                     bool& handled) {
    handled = true;
    if (!awake_) return 0;  // asleep: left alone, as every message of the window then
    WindowImplBase::OnDpiChanged(msg, wParam, lParam, handled);
    CenterWindow();
    platform::Trace("界面 DPI 发生变化\n");
    return 0;
}

std::intptr_t CMainWnd::OnSysCommand(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                                     bool& handled) {
    // The system Close command (the window manager's close) does what the close button
    // does; with a tray the program ends through the tray's "exit".
    if ((wParam & 0xFFF0) == ui::SC_CLOSE) {
        CloseWindow();
        handled = true;
        return 0;
    }
    return WindowImplBase::OnSysCommand(msg, wParam, lParam, handled);
}

std::intptr_t CMainWnd::OnDestroy(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                                  bool& handled) {
    platform::Trace("退出测试\n");
    macroOperations_.StopRecording();  // what was recorded is saved before the devices go
    StopWorkerThreads();
    devices_->StopDevices();
    tray_.DeleteTrayIcon();
    const std::intptr_t result = WindowImplBase::OnDestroy(msg, wParam, lParam, handled);
    if (ui::CMessageLoop* loop = GetLoop()) loop->PostQuitMessage(0);
    handled = true;
    return result;
}

void CMainWnd::StopWorkerThreads() {
    shuttingDown_.Set();
    if (scanner_) {
        const auto result = scanner_->Stop(1000);
        platform::Trace(platform::WorkerThread::ExitText(result));
        scanner_.reset();
    }
}

// ---- scanner (its own thread) -----------------------------------------------------------

void CMainWnd::SendScannerMessage(uint32_t message, size_t slot) {
    if (shuttingDown_.Wait(0)) return;
    ui::CMessageLoop::SendMessage(GetHWND(), message, slot, 0, &shuttingDown_);
}

void CMainWnd::PostFirstScanDone() { ui::CMessageLoop::PostMessage(GetHWND(), kActivateMessage, 0, 0); }

// ---- window placement -------------------------------------------------------------

void CMainWnd::BringToFront() {
    // A quick first scan may come before the first layout: the window must not appear at
    // its creation size and then jump to its own.
    if (!laidOut_) {
        KillTimer(kTimerRelayout);
        Relayout();
    }
    if (ui::CControlUI* none = m_pm.FindControl("No_device_Link")) {
        none->SetVisible(devices_->ConnectedCount() == 0);
    }
    if (IsMinimized()) SendMessage(ui::WM_SYSCOMMAND, ui::SC_RESTORE, 0);
    ShowWindow(true, true);
    // The desktop's own raise stands in for a moment of being top-most.
    if (hooks_.raise) hooks_.raise(GetHWND());
}

void CMainWnd::Relayout() {
    laidOut_ = true;
    const bool wasShown = IsWindowVisible() && !IsMinimized();
    if (!wasShown && IsMinimized()) SendMessage(ui::WM_SYSCOMMAND, ui::SC_RESTORE, 0);
    const ui::Rect screen = ui::CWindowWnd::GetScreenRect();
    ui::CPaintManagerUI::SetAllDPI(96);
    const ui::Rect rc = GetWindowRect();
    SetWindowPos(ui::Rect{rc.left, rc.top, rc.left + kLayoutWidth, rc.top + kLayoutHeight});
    // The library scales the window to the new DPI.
    ui::CPaintManagerUI::SetAllDPI(ui::DpiValue::ForScreen(screen.Width(), screen.Height()));
    CenterWindow();
    m_pm.NeedUpdate();
    if (wasShown != IsWindowVisible()) ShowWindow(wasShown, false);
}

void CMainWnd::HideToTray() {
    // Nobody can see the recording any more: it ends, saved, and the keyboard is given back.
    macroOperations_.StopRecording();
    ShowWindow(false, false);
}

void CMainWnd::CloseWindow() {
    CloseChildWindows();
    platform::SettingsStore settings;
    CloseSituation situation;
    // Asked afresh: the tray host may have gone (or come) since it was last heard of.
    situation.trayShown = tray_.RefreshHost();
    situation.backgroundDuty = duties_.AnyActive();
    situation.noticeGiven = backgroundNoticeGiven_;
    situation.noticeTurnedOff = settings.Get(kBackgroundNoticeOff).value_or("") == "1";
    switch (DecideClose(situation)) {
        case CloseOutcome::HideToTray:
        case CloseOutcome::HideQuietly:
            HideToTray();
            return;
        case CloseOutcome::HideWithNotice: {
            backgroundNoticeGiven_ = true;
            bool turnedOff = false;
            ShowKeyedNotice(GetHWND(), "message_background_notice_text", Dpi(), turnedOff);
            if (turnedOff && !settings.Set(kBackgroundNoticeOff, "1"))
                platform::TraceF("the notice's choice was not kept: %s\n", settings.File().c_str());
            if (IsWindow()) HideToTray();
            return;
        }
        case CloseOutcome::Exit:
            platform::Trace("no tray to come back from and nothing to do in the background: ending\n");
            Close(0);
            return;
    }
}

void CMainWnd::ToggleFromTray() {
    stayHidden_ = false;
    CloseChildWindows();
    if (IsWindowVisible() && !IsMinimized()) {
        ShowWindow(false, false);
    } else {
        Relayout();
        BringToFront();
    }
}

// ---- tray menu and menu commands -------------------------------------------------------

void CMainWnd::OpenTrayMenu() {
    if (ui::CMenuWnd::IsOpen(trayMenu_)) ui::CMenuWnd::Close(trayMenu_);
    trayMenu_ = 0;
    // There is no task bar to read here: the menu opens from the screen's bottom-right
    // corner, where desktop trays usually sit.
    const ui::Rect screen = ui::CWindowWnd::GetScreenRect();
    const ui::Point at{screen.right - 1, screen.bottom - 1};
    if (ui::CMenuWnd* menu = ui::CMenuWnd::CreateMenu(
            GetHWND(), "menu.xml", at, ui::eMenuAlignment_Right | ui::eMenuAlignment_Bottom)) {
        trayMenu_ = menu->GetHWND();
    }
}

void CMainWnd::OnMenuCommand(const std::string& item) { router_.RouteMenuCommand(item); }

void CMainWnd::CloseChildWindows() { operations_.Call(ops::kShellCloseChildWindows); }

void CMainWnd::TellProfileLost(model::CLumitrekUSBDevice& device,
                               const CBasicProfiledata::LoadReport& report) {
    std::string detail;
    if (auto* panel = panels::ProfileOperations::PanelOf(device)) {
        const std::string name = panel->ProfileNameOf(report.file);
        if (!name.empty()) detail = name + "\n";
    }
    const bool copied = report.outcome == CBasicProfiledata::LoadReport::Outcome::Replaced;
    detail += (copied ? report.copy : report.file).string();
    const char* key = copied ? "message_profile_reset_copy" : "message_profile_left_alone";
    // Loading runs in the middle of a connection or a switch: the box waits until that is
    // done rather than holding it up.
    std::weak_ptr<CMainWnd*> alive = alive_;
    auto tell = [alive, key, detail] {
        if (auto self = alive.lock()) (*self)->panelShell_.ShowDetailedMessage(key, detail);
    };
    if (ui::CMessageLoop* loop = GetLoop())
        loop->PostTask(std::move(tell));
    else
        tell();
}

void CMainWnd::TellMacroListsRebuilt() {
    std::string detail;
    for (int i = 0; i < devices_->TabCount(); ++i) {
        model::CLumitrekUSBDevice* device = devices_->DeviceAt(i);
        panels::CMacroControlUI* panel =
            device != nullptr ? panels::MacroOperations::PanelOf(*device) : nullptr;
        if (panel == nullptr) continue;
        const std::filesystem::path copy = panel->TakeRebuiltListCopy();
        if (!copy.empty()) detail += (detail.empty() ? "" : "\n") + copy.string();
    }
    if (detail.empty()) return;
    // Told after start-up is done, as the lost profiles are.
    std::weak_ptr<CMainWnd*> alive = alive_;
    auto tell = [alive, detail] {
        if (auto self = alive.lock())
            (*self)->panelShell_.ShowDetailedMessage("message_macro_list_rebuilt", detail);
    };
    if (ui::CMessageLoop* loop = GetLoop())
        loop->PostTask(std::move(tell));
    else
        tell();
}

// ---- light control and language ----------------------------------------------------------

void CMainWnd::SetLightControl(bool on, bool broadcast) {
    lightControl_ = on;
    if (broadcast && hooks_.broadcastLightState) hooks_.broadcastLightState(on);
    if (ui::CControlUI* status = m_pm.FindControl("control_light_status")) {
        status->SetText(on ? "控制灯光" : "不控制灯光");
    }
    devices_->SetLightControl(on);
}

std::vector<std::uint32_t> CMainWnd::WorkToolTable() {
    std::vector<std::uint32_t> words(256, 0);
    words[0] = 2;
    words[1] = 3;
    words[2] = 0;
    words[3] = 2;
    const auto& rows = device::DeviceTypeTable();
    words[4] = static_cast<std::uint32_t>(rows.size());
    for (size_t i = 0; i < rows.size() && 7 + 3 * i < words.size(); ++i) {
        words[5 + 3 * i] = rows[i].vendorId;
        words[6 + 3 * i] = rows[i].productId;
        words[7 + 3 * i] = rows[i].kind;
    }
    return words;
}

}  // namespace app
