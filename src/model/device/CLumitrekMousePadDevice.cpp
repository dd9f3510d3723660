// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/CLumitrekMousePadDevice.h"

#include <optional>

#include "device/protocol/ResultCode.h"
#include "device/scanner/DeviceKind.h"
#include "ui/CContainerUI.h"
#include "ui/CMessageLoop.h"

namespace model {

namespace {

constexpr const char* kPadType = "MousePad";
constexpr int kPadLightListIndex = 2;
constexpr const char* kPadButtonContainer = "mousepad_device_key_light";
// Nothing in the program writes the pad's macro list; the name is the pad's own.
constexpr const char* kPadMacroList = "vexal_macro.config";

}  // namespace

CLumitrekMousePadDevice::CLumitrekMousePadDevice(std::shared_ptr<device::HidBackend> backend)
    : CLumitrekMousePadDevice(std::move(backend), std::make_unique<CBasicProfiledata>(),
                              device::kKindMousePad, kPadType, kPadLightListIndex, kPadButtonContainer) {}

CLumitrekMousePadDevice::CLumitrekMousePadDevice(std::shared_ptr<device::HidBackend> backend,
                                                 std::unique_ptr<CBasicProfiledata> profile,
                                                 int kind, const char* typeName,
                                                 int lightListIndex, const char* buttonContainer)
    : CLumitrekUSBDevice(std::move(backend)),
      profile_(std::move(profile)),
      buttonContainer_(buttonContainer) {
    ConfigureKind(kind, typeName, &engine_.Effects(), profile_.get(), lightListIndex);
}

CLumitrekMousePadDevice::~CLumitrekMousePadDevice() {
    StopThreads();
}

std::string CLumitrekMousePadDevice::GetClass() const {
    return "LumitrekMousePadDevice";
}

void* CLumitrekMousePadDevice::GetInterface(std::string_view name) {
    if (name == "LumitrekMousePadDevice") return this;
    return CLumitrekUSBDevice::GetInterface(name);
}

void CLumitrekMousePadDevice::OnConnected() {
    Queue<bool>(
        "connect",
        [this](DeviceWorker::Session& session) {
            device::CommandSet& commands = session.commands;
            if (!commands.Usable()) return false;
            device::CommandSet::DeviceInfo info{};
            commands.BeginConfig();
            const bool read = commands.ReadDeviceInfo(info) == device::kResultSuccess;
            if (read) SetDeviceInfo(info);
            commands.EndConfig();
            return read;
        },
        [this](const Completion<bool>& read) {
            if (read.cancelled) return;
            LoadProfile();
            RefreshPanels();
            StartLightThread();
        });
}

void CLumitrekMousePadDevice::OnSyncRequest() {
    Channel().SetSyncFlag(0);
    struct Read {
        uint8_t index = 0;
        std::array<uint8_t, PadSettingsBlock::kReadSize> block{};
    };
    Queue<std::optional<Read>>(
        "settings-read",
        [](DeviceWorker::Session& session) -> std::optional<Read> {
            Read read;
            if (!ReadActiveSettingsBlock(session.commands, read.block,
                                         PadSettingsBlock::kReadStride, read.index))
                return std::nullopt;
            return read;
        },
        [this](const Completion<std::optional<Read>>& read) {
            if (read.cancelled || !read.value) return;
            settings_.TakeRead(read.value->index, read.value->block);
            // The pad's light thread animates what the pad itself shows.
            engine_.State().settings.SetThreadCopy(settings_.Copy()[1], settings_.HeldSpeed());
            if (GetOwnerWindow() != 0)
                ui::CMessageLoop::PostMessage(GetOwnerWindow(), kSettingsReadMessage,
                                              read.value->index);
        });
}

int CLumitrekMousePadDevice::ApplyLightSetting() {
    settings_.TakeLight(ApplyProfileLighting());
    return 1;
}

int CLumitrekMousePadDevice::LoadProfile() {
    UpdateProfilePaths();
    profile_->LoadSection(GetProfilePath());
    ReportProfileLoad();
    ApplyLightSetting();
    return 1;
}

void CLumitrekMousePadDevice::ResetToDefaults() {
    profile_->LoadSection(GetDefaultProfilePath());
    ApplyLightSetting();
    SaveProfile();
    RefreshPanels();
}

void CLumitrekMousePadDevice::RefreshPanels() {
    LoadLightNameLists();
    ShowLightingInPanel();
}

bool CLumitrekMousePadDevice::EncodeSettings(int /*byte0*/, std::vector<uint8_t>& block,
                                             unsigned& stride) {
    const auto bytes = settings_.ForWrite();
    block.assign(bytes.begin(), bytes.end());
    stride = PadSettingsBlock::kWriteStride;
    return true;
}

void CLumitrekMousePadDevice::LoadLightNameLists() {
    LoadNameLists(kPadMacroList);
}

void CLumitrekMousePadDevice::BindPadButtons() {
    if (GetPageLayout().empty()) {
        CLumitrekUSBDevice::BindKeyButtons();
        return;
    }
    ui::CControlUI* buttons = FindInPage(buttonContainer_);
    if (auto* container =
            buttons ? static_cast<ui::CContainerUI*>(buttons->GetInterface("Container")) : nullptr)
        BindButtonsIn(*container);
    LoadLightNameLists();
    BindProfileAndLightingPanels();
}

}  // namespace model
