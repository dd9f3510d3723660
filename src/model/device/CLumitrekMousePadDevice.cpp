#include "model/device/CLumitrekMousePadDevice.h"

#include "device/protocol/ResultCode.h"
#include "device/scanner/DeviceKind.h"
#include "ui/CContainerUI.h"
#include "ui/CMessageLoop.h"

namespace model {

namespace {

constexpr const char* kPadType = "MousePad";
constexpr int kLightListIndex = 2;
constexpr const char* kButtonContainer = "mousepad_device_key_light";
// Nothing in the program writes the pad's macro list; the name is the pad's own.
constexpr const char* kPadMacroList = "vexal_macro.config";

}  // namespace

CLumitrekMousePadDevice::CLumitrekMousePadDevice(std::shared_ptr<device::HidBackend> backend)
    : CLumitrekUSBDevice(std::move(backend)) {
    ConfigureKind(device::kKindMousePad, kPadType, &engine_.Effects(), &profile_, kLightListIndex);
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
    if (IsConnected()) {
        device::CommandSet::DeviceInfo info{};
        Commands().BeginConfig();
        if (Commands().ReadDeviceInfo(info) == device::kResultSuccess) SetDeviceInfo(info);
        Commands().EndConfig();
    }
    LoadProfile();
    RefreshPanels();
    StartLightThread();
}

void CLumitrekMousePadDevice::OnSyncRequest() {
    Channel().SetSyncFlag(0);
    uint8_t index = 0;
    std::array<uint8_t, PadSettingsBlock::kReadSize> block{};
    if (!ReadActiveSettingsBlock(block, PadSettingsBlock::kReadStride, index)) return;
    settings_.TakeRead(index, block);
    // The pad's light thread animates what the pad itself shows.
    engine_.State().settings.SetThreadCopy(settings_.Copy()[1], settings_.HeldSpeed());
    if (GetOwnerWindow() != 0)
        ui::CMessageLoop::PostMessage(GetOwnerWindow(), kSettingsReadMessage, index);
}

int CLumitrekMousePadDevice::ApplyLightSetting() {
    settings_.TakeLight(ApplyProfileLighting());
    return 1;
}

int CLumitrekMousePadDevice::LoadProfile() {
    UpdateProfilePaths();
    profile_.LoadSection(GetProfilePath());
    ApplyLightSetting();
    return 1;
}

void CLumitrekMousePadDevice::ResetToDefaults() {
    profile_.LoadSection(GetDefaultProfilePath());
    ApplyLightSetting();
    SaveProfile();
    RefreshPanels();
}

void CLumitrekMousePadDevice::RefreshPanels() {
    LoadLightNameLists();
    ShowLightingInPanel();
}

int CLumitrekMousePadDevice::WriteSettings(int profileIndex, int, int, int, int) {
    WriteSettingsBlock(settings_.ForWrite(),
                       profileIndex * static_cast<int>(PadSettingsBlock::kWriteStride));
    return 1;
}

void CLumitrekMousePadDevice::LoadLightNameLists() {
    LoadNameLists(kPadMacroList);
}

void CLumitrekMousePadDevice::BindPadButtons() {
    if (GetPageLayout().empty()) {
        CLumitrekUSBDevice::BindKeyButtons();
        return;
    }
    ui::CControlUI* buttons = FindInPage(kButtonContainer);
    if (auto* container =
            buttons ? static_cast<ui::CContainerUI*>(buttons->GetInterface("Container")) : nullptr)
        BindButtonsIn(*container);
    LoadLightNameLists();
    BindProfileAndLightingPanels();
}

}  // namespace model
