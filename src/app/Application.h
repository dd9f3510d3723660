// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's life: what runs before the main window (single instance, skin resources,
// control classes, simulated devices), the main window itself, and the teardown in the
// reverse order. The caller supplies the message loop (Qt's or the headless one) and runs
// it between CreateMainWindow and Shutdown.
#include <ostream>
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/AutomationHost.h"
#include "app/SimulationChoice.h"
#include "app/CMainWnd.h"
#include "app/cli/CommandExecutor.h"
#include "device/hid/VirtualBus.h"
#include "platform/SingleInstance.h"
#include "sim/SimDevice.h"

namespace app {

// Which simulated devices --simulate attaches.
class Application : public AutomationHost {
public:
    Application();
    ~Application() override;  // Shutdown()
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Takes the single-instance lock, or wakes the copy that runs. A copy that is not the
    // first must exit with 0. A runtime folder that cannot be used safely is reported on
    // stderr and the program runs without the local socket.
    platform::SingleInstance::Outcome AcquireSingleInstance(
        platform::SingleInstance::Contact contact = platform::SingleInstance::Contact::Wake);
    // A virtual bus becomes the HID backend, with the simulated keyboard and pad on it;
    // the chosen ones are plugged in now. With a capture, its devices take the places of
    // the simulator's own, and what the simulator cannot follow goes to `err`; false (and
    // nothing simulated) when the capture cannot be used.
    bool Simulate(SimulationChoice choice, std::ostream& err);
    void Simulate(SimulationChoice choice);
    // Skin folder, resource index and the program's control classes.
    bool PrepareResources();
    // The main window on the calling thread's loop; starts serving the local socket.
    // `raise` lifts a shown window above the others (the desktop's way; none headless).
    CMainWnd* CreateMainWindow(std::function<void(ui::WindowHandle)> raise = {});
    CMainWnd* MainWindow() const { return mainWnd_.get(); }
    // Before CreateMainWindow: the window stays in the tray until the user asks for it.
    void StartHidden() { startHidden_ = true; }
    bool StartsHidden() const { return startHidden_; }
    // Deletes the main window (closing the devices), releases the resources and the
    // simulated devices, and only then the single-instance lock.
    void Shutdown();

    // ---- AutomationHost
    ui::CMessageLoop& Loop() override;
    ui::CControlUI* FindControl(std::string_view name, ui::CPaintManagerUI** manager) override;
    bool ChooseMenuItem(std::string_view item) override;
    void FocusMovesTo(ui::CPaintManagerUI* manager) override;
    sim::SimDevice* SimulatedDevice(std::string_view which) override;
    bool ReplaceSimulatedDevice(std::string_view which,
                                std::shared_ptr<sim::SimDevice> device) override;
    // Where the stand-in audio library records its calls in a simulated run: the file
    // named by TX512_CONFLIB_RECORD, else this one (set up by Simulate).
    static std::filesystem::path AudioCallRecord();
    device::VirtualBus* Bus() override { return bus_.get(); }
    model::CLumitrekUSBDevice* DeviceObject(std::string_view which) override;
    void Quit() override;
    // Any thread: ends the program as the tray's "exit" does, once the UI thread gets to
    // it (the session is ending). Before there is a main window, the process just ends.
    void RequestExit(int signalNumber);
    std::optional<WindowState> MainWindowState() override;
    std::optional<std::intptr_t> SendToMainWindow(unsigned msg, std::uintptr_t wParam,
                                                  std::intptr_t lParam) override;
    bool SaveScreenshot(const std::string& pngPath, int dpi) override;
    bool SetTrayShown(bool shown) override;
    bool SetBackgroundDuty(const std::string& name, bool active) override;
    bool SendInput(const ui::TInputEvent& input) override;
    // What draws a window into a PNG file; the shell itself draws nothing.
    using ScreenshotWriter = std::function<bool(ui::CPaintManagerUI&, const std::string&)>;
    void SetScreenshotWriter(ScreenshotWriter writer) { screenshotWriter_ = std::move(writer); }

    platform::SingleInstance& Instance() { return instance_; }
    // Runs command lines, from this process or from others over the local socket; null
    // before the main window exists and after Shutdown.
    cli::CommandExecutor* Commands() { return commands_.get(); }

private:
    void RecordAudioCalls();
    std::optional<platform::LocalMessage> OnLocalMessage(const platform::LocalMessage& message);
    bool OnLocalCommand(const platform::LocalMessage& message,
                        const platform::LocalListener::Reply& reply);

    platform::SingleInstance instance_;
    bool ipcAvailable_ = false;
    std::unique_ptr<device::VirtualBus> bus_;
    std::shared_ptr<sim::SimDevice> simKeyboard_;
    std::shared_ptr<sim::SimDevice> simPad_;
    std::shared_ptr<sim::SimDevice> simMouse_;
    std::shared_ptr<sim::SimDevice> simHeadset_;  // only when chosen (see Simulate)
    // The devices come from a capture: their memories are not kept for the next run.
    bool simFromCapture_ = false;
    std::unique_ptr<CMainWnd> mainWnd_;
    std::unique_ptr<cli::CommandExecutor> commands_;
    ui::CMessageLoop* loop_ = nullptr;
    bool startHidden_ = false;
    ScreenshotWriter screenshotWriter_;
    std::atomic<ui::WindowHandle> mainHandle_{0};
    std::atomic<bool> shutDown_{false};
};

}  // namespace app
