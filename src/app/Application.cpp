// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>

#include "app/CaptureSimulation.h"
#include "app/ShellControls.h"
#include "app/ShellIds.h"
#include "app/SimMemoryStore.h"
#include "device/hid/HidBackend.h"
#include "device/scanner/DeviceKind.h"
#include "device/scanner/SupportedDevices.h"
#include "model/audio/AudioBridge.h"
#include "platform/Paths.h"
#include "platform/Trace.h"
#include "sim/DeviceCatalog.h"
#include "ui/CControlUI.h"
#include "ui/CMenuWnd.h"
#include "ui/CMessageLoop.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CResourceManager.h"
#include "ui/TEventUI.h"
#include "ui/WindowImplBase.h"
#include "ui/controls/ProgramControls.h"

namespace app {

namespace {

// WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU |
// WS_MINIMIZEBOX
constexpr unsigned kMainStyle = 0x96CA0000;
constexpr int kCreateWidth = 800;
constexpr int kCreateHeight = 572;

}  // namespace

Application::Application() = default;

Application::~Application() { Shutdown(); }

platform::SingleInstance::Outcome Application::AcquireSingleInstance(
    platform::SingleInstance::Contact contact) {
    const auto outcome = instance_.Acquire(contact);
    if (outcome == platform::SingleInstance::Outcome::Refused) {
        std::cerr << "telix-tx512: running without the single-instance lock and socket: "
                  << instance_.Error() << "\n";
    } else if (outcome == platform::SingleInstance::Outcome::Alone) {
        std::cerr << "telix-tx512: running without the single-instance socket (" << instance_.Error()
                  << "); command lines and later starts cannot reach this copy\n";
    }
    ipcAvailable_ = outcome == platform::SingleInstance::Outcome::First;
    return outcome;
}

void Application::Simulate(SimulationChoice choice) {
    Simulate(std::move(choice), std::cerr);
}

bool Application::Simulate(SimulationChoice choice, std::ostream& err) {
    CaptureSimulation captured;
    if (!choice.captureFile.empty()) {
        captured = LoadCaptureSimulation(choice.captureFile);
        if (!captured.error.empty()) {
            err << "telix-tx512: " << captured.error << "\n";
            return false;
        }
        for (const std::string& note : captured.notes) err << "telix-tx512: capture: " << note << "\n";
        AdoptCapturedIdentities(captured);
        simFromCapture_ = true;
    }
    const sim::CaptureBuild* keyboard = CapturedKind(captured, "keyboard");
    const sim::CaptureBuild* pad = CapturedKind(captured, "pad");
    const sim::CaptureBuild* mouse = CapturedKind(captured, "mouse");
    const sim::CaptureBuild* headset = CapturedKind(captured, "headset");
    if (simFromCapture_) {
        choice.keyboard = keyboard != nullptr;
        choice.pad = pad != nullptr;
        choice.mouse = mouse != nullptr;
        choice.headset = headset != nullptr;
    }
    // A capture's device starts as captured, not as the last run left the simulator's own.
    auto make = [this](const sim::CaptureBuild* build, const sim::SimDeviceDefinition& own,
                       const char* name) {
        if (build) return std::make_shared<sim::SimDevice>(build->definition);
        auto device = std::make_shared<sim::SimDevice>(own);
        if (!simFromCapture_) SimMemoryStore::Restore(*device, name);
        return device;
    };
    // The build's stand-in audio library, never a real one, serves a simulated run.
    model::AudioBridge::UseSimulatedLibrary();
    // Both devices exist whatever the choice, so that a script can plug the other later.
    bus_ = std::make_unique<device::VirtualBus>();
    simKeyboard_ = make(keyboard, sim::KeyboardDefinition(), "keyboard");
    simPad_ = make(pad, sim::MousePadDefinition(), "pad");
    // Only a simulation of the mouse gives the mouse rows identifiers: the simulator's own.
    if (choice.mouse) {
        const sim::SimDeviceDefinition& own =
            choice.mouseLongWait ? sim::LongWaitMouseDefinition() : sim::MouseDefinition();
        if (!mouse)
            device::UseMouseIdentity(
                own.vendorId, own.productId,
                choice.mouseLongWait ? device::kKindMouseLongWait : device::kKindMouse);
        simMouse_ = make(mouse, own, "mouse");
    }
    if (choice.keyboard) simKeyboard_->Plug(*bus_);
    if (choice.pad) simPad_->Plug(*bus_);
    if (simMouse_) simMouse_->Plug(*bus_);
    if (choice.headset) {
        // The shipped rows of the headset name no device; the simulator's identifiers
        // stand in, before the main window copies the tables.
        if (!headset)
            device::SubstituteIdentity(device::kKindHeadset, sim::kSimHeadsetVendor,
                                       sim::kSimHeadsetProduct);
        RecordAudioCalls();
        simHeadset_ = make(headset, sim::HeadsetDefinition(), "headset");
        simHeadset_->Plug(*bus_);
    }
    device::HidBackend::SetDefault(bus_->Backend());
    return true;
}

std::filesystem::path Application::AudioCallRecord() {
    return SimMemoryStore::PathOf("headset").parent_path() / "osConfLib.calls";
}

void Application::RecordAudioCalls() {
    // The stand-in audio library writes down every call where this names; a script reads
    // them back through the sim command. One run, one record.
    if (const char* given = std::getenv("TX512_CONFLIB_RECORD"); given != nullptr && *given != '\0')
        return;
    const std::filesystem::path record = AudioCallRecord();
    std::error_code ignored;
    std::filesystem::create_directories(record.parent_path(), ignored);
    std::filesystem::remove(record, ignored);
    ::setenv("TX512_CONFLIB_RECORD", record.c_str(), 1);
}

bool Application::PrepareResources() {
    auto& resources = ui::CResourceManager::GetInstance();
    const std::filesystem::path skin = platform::DataDir() / "skin";
    resources.SetResourcePath(skin);
    const bool ok = resources.LoadResource("res.xml");
    if (!ok) {
        std::cerr << "telix-tx512: the skin index " << (skin / "res.xml").string()
                  << " is missing or damaged";
        // An installed program keeps its skin elsewhere than a build tree: name both places.
        if (const auto installed = platform::InstalledDataDir() / "skin"; installed != skin)
            std::cerr << " (and " << (installed / "res.xml").string() << " does not exist)";
        std::cerr << "\n";
    }
    ui::RegisterProgramControls();
    RegisterShellControls();
    return ok;
}

CMainWnd* Application::CreateMainWindow(std::function<void(ui::WindowHandle)> raise) {
    mainWnd_ = std::make_unique<CMainWnd>();
    CMainWnd::DesktopHooks hooks;
    hooks.raise = std::move(raise);
    if (ipcAvailable_) {
        hooks.broadcastLightState = [this](bool on) {
            instance_.Broadcast(platform::LocalMessage::WithParams(
                platform::LocalMessage::kLightState, 1, on ? 1 : 0));
        };
    }
    mainWnd_->SetDesktopHooks(std::move(hooks));
    if (!mainWnd_->Create(0, kProductName, kMainStyle, 0, 0, 0, kCreateWidth, kCreateHeight)) {
        mainWnd_.reset();
        return nullptr;
    }
    mainHandle_ = mainWnd_->GetHWND();
    if (startHidden_) mainWnd_->StartHidden();
    mainWnd_->CenterWindow();
    loop_ = ui::CMessageLoop::Current();
    commands_ = std::make_unique<cli::CommandExecutor>(*mainWnd_, *loop_);
    if (ipcAvailable_) {
        instance_.SetDeferredHandler(
            [this](const platform::LocalMessage& m, const platform::LocalListener::Reply& reply) {
                return OnLocalCommand(m, reply);
            });
        instance_.Serve([this](const platform::LocalMessage& m) { return OnLocalMessage(m); });
    }
    return mainWnd_.get();
}

// The listener thread: a command runs on the UI thread and is answered when it is done.
bool Application::OnLocalCommand(const platform::LocalMessage& message,
                                 const platform::LocalListener::Reply& reply) {
    using platform::LocalMessage;
    if (!message.Is(LocalMessage::kCommand)) return false;
    if (message.version() != LocalMessage::kCommandVersion) {
        reply(LocalMessage::CommandResult(
            cli::kBadUsage, "",
            "telix-tx512: the running copy speaks command version " +
                std::to_string(LocalMessage::kCommandVersion) + ", not " +
                std::to_string(message.version()) + "; use the same version of the program\n"));
        return true;
    }
    const auto refuse = [reply] {
        reply(LocalMessage::CommandResult(cli::kRefused, "",
                                          "telix-tx512: the running copy is shutting down; try again\n"));
    };
    if (mainHandle_.load() == 0 || loop_ == nullptr) {
        refuse();
        return true;
    }
    std::vector<std::string> words = message.args();
    const bool posted = loop_->PostTask([this, words = std::move(words), cwd = message.workingDir(), reply,
                                         refuse] {
        if (!commands_ || mainHandle_.load() == 0) {
            refuse();
            return;
        }
        commands_->Run(words, cwd, cli::CommandExecutor::Limits{}, [reply](const cli::CommandResult& result) {
            reply(LocalMessage::CommandResult(result.code, result.out, result.err));
        });
    });
    if (!posted) refuse();
    return true;
}

// The listener thread: hand the message to the UI thread and return.
std::optional<platform::LocalMessage> Application::OnLocalMessage(
    const platform::LocalMessage& message) {
    const ui::WindowHandle window = mainHandle_.load();
    using platform::LocalMessage;
    if (message.Is(LocalMessage::kWorkToolQuery)) {
        return LocalMessage::WorkToolTable(CMainWnd::WorkToolTable());
    }
    if (window == 0) return std::nullopt;
    if (message.Is(LocalMessage::kActivate)) {
        ui::CMessageLoop::PostMessage(window, kActivateMessage, 0, 1);
    } else if (message.Is(LocalMessage::kUpdateRelay)) {
        ui::CMessageLoop::PostMessage(window, kUpdateRelayMessage,
                                      static_cast<std::uintptr_t>(message.wparam()),
                                      static_cast<std::intptr_t>(message.lparam()));
    } else if (message.Is(LocalMessage::kLightControl)) {
        ui::CMessageLoop::PostMessage(window, kLightControlMessage,
                                      static_cast<std::uintptr_t>(message.wparam()),
                                      static_cast<std::intptr_t>(message.lparam()));
    }
    return std::nullopt;
}

void Application::Shutdown() {
    if (shutDown_) return;
    shutDown_ = true;
    // Nothing from the socket reaches a window that is going away. The socket itself
    // goes on answering, and the lock is held, until the devices are closed: a copy
    // started meanwhile wakes this one instead of opening the same devices.
    mainHandle_ = 0;
    instance_.ReleaseAfter([this] {
        commands_.reset();
        if (mainWnd_) {
            mainWnd_->StopWorkerThreads();
            if (mainWnd_->IsWindow()) mainWnd_->DestroyWindow();
            mainWnd_.reset();
        }
        ui::CResourceManager::GetInstance().Release();
        if (bus_) {
            device::HidBackend::SetDefault(nullptr);
            bus_->UnplugAll();
        }
        if (!simFromCapture_) {
            if (simKeyboard_) SimMemoryStore::Keep(*simKeyboard_, "keyboard");
            if (simPad_) SimMemoryStore::Keep(*simPad_, "pad");
            if (simMouse_) SimMemoryStore::Keep(*simMouse_, "mouse");
            if (simHeadset_) SimMemoryStore::Keep(*simHeadset_, "headset");
        }
        simKeyboard_.reset();
        simPad_.reset();
        simMouse_.reset();
        simHeadset_.reset();
        bus_.reset();
    });
}

// ---- AutomationHost ---------------------------------------------------------------------

ui::CMessageLoop& Application::Loop() { return *ui::CMessageLoop::Current(); }

namespace {

// "name[N]": the N-th (from 0) control of that name, in layout order; nothing when the name
// has no such suffix.
std::optional<std::size_t> NthOf(std::string_view& name) {
    if (name.size() < 3 || name.back() != ']') return std::nullopt;
    const auto open = name.rfind('[');
    if (open == std::string_view::npos || open == 0) return std::nullopt;
    std::size_t index = 0;
    const std::string_view digits = name.substr(open + 1, name.size() - open - 2);
    if (digits.empty() || digits.size() > 6) return std::nullopt;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        index = index * 10 + static_cast<std::size_t>(c - '0');
    }
    name = name.substr(0, open);
    return index;
}

// Names repeat across the device pages (every page has its "key_0", its "light_0", its
// panels), so a name means the one the user can see: the first visible control of that
// name, else the first at all. "page/name" looks within the control named "page" only;
// "name[N]" takes the N-th of that name (the rows of a list share one name).
ui::CControlUI* FindByName(ui::CPaintManagerUI& pm, std::string_view path) {
    ui::CControlUI* scope = pm.GetRoot();
    std::string_view name = path;
    if (const auto slash = path.rfind('/'); slash != std::string_view::npos) {
        scope = FindByName(pm, path.substr(0, slash));
        name = path.substr(slash + 1);
    }
    if (scope == nullptr) return nullptr;
    if (const std::optional<std::size_t> nth = NthOf(name)) {
        std::size_t seen = 0;
        return scope->FindControl(
            [name, nth, &seen](ui::CControlUI* control) {
                return control->GetName() == name && seen++ == *nth;
            },
            ui::Point{}, ui::UIFIND_ALL | ui::UIFIND_ME_FIRST);
    }
    ui::CControlUI* first = nullptr;
    ui::CControlUI* shown = scope->FindControl(
        [name, &first](ui::CControlUI* control) {
            if (control->GetName() != name) return false;
            if (first == nullptr) first = control;
            return control->IsVisible();
        },
        ui::Point{}, ui::UIFIND_ALL | ui::UIFIND_ME_FIRST);
    return shown != nullptr ? shown : first;
}

}  // namespace

ui::CControlUI* Application::FindControl(std::string_view name, ui::CPaintManagerUI** manager) {
    // The topmost modal window is the last modal one created; pop-ups are visible windows
    // of their own that are neither modal nor the main window.
    const auto& managers = ui::CPaintManagerUI::GetManagers();
    for (auto it = managers.rbegin(); it != managers.rend(); ++it) {
        ui::CWindowWnd* window = ui::CWindowWnd::FromHandle((*it)->GetPaintWindow());
        if (window == nullptr || window == mainWnd_.get()) continue;
        if (!window->IsModal()) {
            if (!window->IsWindowVisible()) continue;
            if (ui::CControlUI* control = FindByName(**it, name)) {
                if (manager != nullptr) *manager = *it;
                return control;
            }
            continue;
        }
        if (ui::CControlUI* control = FindByName(**it, name)) {
            if (manager != nullptr) *manager = *it;
            return control;
        }
        break;
    }
    if (!mainWnd_ || !mainWnd_->IsWindow()) return nullptr;
    ui::CPaintManagerUI& pm = mainWnd_->GetPaintManager();
    if (manager != nullptr) *manager = &pm;
    return FindByName(pm, name);
}

void Application::FocusMovesTo(ui::CPaintManagerUI* manager) {
    std::vector<ui::WindowHandle> popups;
    for (ui::CPaintManagerUI* other : ui::CPaintManagerUI::GetManagers()) {
        ui::CWindowWnd* window = ui::CWindowWnd::FromHandle(other->GetPaintWindow());
        if (other == manager || window == nullptr || window == mainWnd_.get()) continue;
        if (!window->IsModal() && window->IsWindowVisible())
            popups.push_back(other->GetPaintWindow());
    }
    // By handle: a pop-up closes (and may delete itself) when it loses the focus.
    for (ui::WindowHandle handle : popups) {
        auto* window = dynamic_cast<ui::WindowImplBase*>(ui::CWindowWnd::FromHandle(handle));
        if (window == nullptr) continue;
        ui::TInputEvent input;
        input.kind = ui::TInputEvent::Kind::WindowFocusOut;
        window->HandleInput(input);
    }
}

bool Application::ChooseMenuItem(std::string_view item) {
    if (!mainWnd_ || !mainWnd_->IsWindow()) return false;
    ui::MenuCmd cmd;
    cmd.szName = std::string(item);
    mainWnd_->SendMessage(kMsgMenuCommand, reinterpret_cast<std::uintptr_t>(&cmd), 0);
    return true;
}

model::CLumitrekUSBDevice* Application::DeviceObject(std::string_view which) {
    if (!mainWnd_) return nullptr;
    DeviceList& devices = mainWnd_->Devices();
    if (which == "current") return devices.CurrentDevice();
    if (which == "headset")
        return devices.Headsets().empty() ? nullptr : devices.Headsets().front();
    const auto& list = which == "keyboard" ? devices.Keyboards()
                       : which == "mouse"  ? devices.Mice()
                                           : devices.MousePads();
    if (which != "keyboard" && which != "pad" && which != "mouse") return nullptr;
    return list.empty() ? nullptr : list.front();
}

sim::SimDevice* Application::SimulatedDevice(std::string_view which) {
    if (which == "keyboard") return simKeyboard_.get();
    if (which == "pad") return simPad_.get();
    if (which == "mouse") return simMouse_.get();
    if (which == "headset") return simHeadset_.get();
    return nullptr;
}

bool Application::ReplaceSimulatedDevice(std::string_view which,
                                         std::shared_ptr<sim::SimDevice> device) {
    std::shared_ptr<sim::SimDevice>* place = which == "keyboard" ? &simKeyboard_
                                             : which == "pad"    ? &simPad_
                                             : which == "mouse"  ? &simMouse_
                                             : which == "headset" ? &simHeadset_
                                                                  : nullptr;
    if (!bus_ || !place || !*place || !device) return false;
    // The rows of the mouse and the headset were given identifiers at start; a device of
    // others would never be claimed.
    const auto& before = (*place)->Definition();
    const auto& after = device->Definition();
    if ((which == "mouse" || which == "headset") &&
        (before.vendorId != after.vendorId || before.productId != after.productId))
        return false;
    (*place)->Unplug();
    *place = std::move(device);
    simFromCapture_ = true;
    return (*place)->Plug(*bus_);
}

std::optional<AutomationHost::WindowState> Application::MainWindowState() {
    if (!mainWnd_ || !mainWnd_->IsWindow()) return std::nullopt;
    WindowState state;
    state.visible = mainWnd_->IsWindowVisible();
    state.minimized = mainWnd_->IsMinimized();
    state.topMost = mainWnd_->IsTopMost();
    state.dpi = mainWnd_->GetPaintManager().GetDPI();
    state.rect = mainWnd_->GetWindowRect();
    state.title = mainWnd_->GetTitle();
    state.trayShown = mainWnd_->TrayIcon().IsHostShown();
    return state;
}

bool Application::SetTrayShown(bool shown) {
    if (!mainWnd_ || !mainWnd_->IsWindow()) return false;
    ui::CTrayIcon& tray = mainWnd_->TrayIcon();
    tray.SetHostQuery({});  // the automation's answer stands until it gives another
    tray.SetHostShown(shown);
    return true;
}

bool Application::SetBackgroundDuty(const std::string& name, bool active) {
    if (!mainWnd_ || !mainWnd_->IsWindow()) return false;
    const std::string claim = "automation:" + name;
    if (active) mainWnd_->Duties().Claim(claim, [] { return true; });
    else mainWnd_->Duties().Release(claim);
    return true;
}

std::optional<std::intptr_t> Application::SendToMainWindow(unsigned msg, std::uintptr_t wParam,
                                                           std::intptr_t lParam) {
    if (!mainWnd_ || !mainWnd_->IsWindow()) return std::nullopt;
    return mainWnd_->SendMessage(msg, wParam, lParam);
}

bool Application::SendInput(const ui::TInputEvent& input) {
    if (!mainWnd_ || !mainWnd_->IsWindow()) return false;
    mainWnd_->GetPaintManager().HandleInput(input);
    return true;
}

bool Application::SaveScreenshot(const std::string& pngPath, int dpi) {
    if (!screenshotWriter_ || !mainWnd_ || !mainWnd_->IsWindow()) return false;
    ui::CPaintManagerUI& pm = mainWnd_->GetPaintManager();
    const int before = pm.GetDPI();
    const ui::Size client = pm.GetClientSize();
    // Drawn at the asked DPI, as the desktop would show the window there, then put back.
    ui::CPaintManagerUI::SetAllDPI(dpi);
    pm.SetClientSize(pm.ScaleSize(ui::Size{1000, 640}));
    Loop().RunPending();
    const bool written = screenshotWriter_(pm, pngPath);
    ui::CPaintManagerUI::SetAllDPI(before);
    pm.SetClientSize(client);
    return written;
}

void Application::RequestExit(int signalNumber) {
    if (shutDown_) return;  // already on its way out
    const ui::WindowHandle window = mainHandle_.load();
    auto exit = std::make_shared<ui::MenuCmd>();
    exit->szName = "exit";
    if (window == 0 || !ui::CMessageLoop::PostMessage(window, kMsgMenuCommand,
                                                      reinterpret_cast<std::uintptr_t>(exit.get()),
                                                      0, exit)) {
        std::_Exit(128 + signalNumber);
    }
}

void Application::Quit() {
    if (mainWnd_ && mainWnd_->IsWindow()) {
        ChooseMenuItem("exit");
        return;
    }
    if (ui::CMessageLoop* loop = ui::CMessageLoop::Current()) loop->PostQuitMessage(0);
}

}  // namespace app
