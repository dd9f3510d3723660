// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/CLumitrekMouseDevice.h"

#include <algorithm>

#include "data/macro/MacroListFile.h"
#include "device/protocol/ResultCode.h"
#include "device/scanner/DeviceKind.h"
#include "model/device/ButtonName.h"
#include "model/device/IKeySetPanel.h"
#include "model/device/IMacroPanel.h"
#include "model/device/IShootPanel.h"
#include "model/device/KeyButtonPreview.h"
#include "model/device/KeyTableBuilder.h"
#include "model/device/MouseKeyTable.h"
#include "model/device/PanelLookup.h"
#include "model/device/RecoilImage.h"
#include "model/lighting/Rgba.h"
#include "platform/TextCompare.h"
#include "ui/CContainerUI.h"
#include "ui/CMessageLoop.h"
#include "ui/CResourceManager.h"
#include "ui/CWindowWnd.h"
#include "ui/controls/CDeviceKeyButtonUI.h"

namespace model {

namespace {

constexpr const char* kMouseType = "mouse";
constexpr int kMouseLightListIndex = 1;
constexpr const char* kMouseButtonContainer = "mouse_device_key_light";
constexpr const char* kLogoMark = "logo";
constexpr const char* kSecondLedPrefix = "light_0_";
// The colour an LED button shows until the preview paints it.
constexpr uint32_t kMouseBoundLedColour = 0xFFFFFF;
constexpr const char* kHint = "device_tishi_info";
// Information block bytes of the mouse.
constexpr std::size_t kInfoDpiStep = 11;
constexpr std::size_t kInfoDpiSteps = 12;
constexpr std::size_t kInfoSmallestDpi = 14;

}  // namespace

CLumitrekMouseDevice::CLumitrekMouseDevice(std::shared_ptr<device::HidBackend> backend)
    : CLumitrekUSBDevice(std::move(backend)) {
    ConfigureKind(device::kKindMouse, kMouseType, &engine_.Effects(), &profile_, kMouseLightListIndex);
}

CLumitrekMouseDevice::~CLumitrekMouseDevice() {
    StopThreads();
}

std::string CLumitrekMouseDevice::GetClass() const {
    return "LumitrekMouseDevice";
}

void* CLumitrekMouseDevice::GetInterface(std::string_view name) {
    if (name == "LumitrekMouseDevice") return this;
    if (name == IKeyListOwner::kInterfaceName) return static_cast<IKeyListOwner*>(this);
    return CLumitrekUSBDevice::GetInterface(name);
}

// ---- connection

void CLumitrekMouseDevice::OnConnected() {
    Channel().SetSyncFlag(0);
    Queue<bool>(
        "connect",
        [this](DeviceWorker::Session& session) { return ReadTablesOn(session.commands); },
        [this](const Completion<bool>& read) {
            if (read.cancelled) return;
            ShowDpiRange();
            LoadProfile();
            RefreshPanels();
            StartLightThread();
        });
}

bool CLumitrekMouseDevice::ReadTablesOn(device::CommandSet& commands) {
    if (!commands.Usable()) return false;
    commands.BeginConfig();
    device::CommandSet::DeviceInfo info{};
    if (commands.ReadDeviceInfo(info) != device::kResultSuccess) {
        commands.EndConfig();
        return false;
    }
    SetDeviceInfo(info);
    const int slots = info[5];
    if (slots == 0 || !Channel().SetTransferLength(slots * 3u)) {
        commands.EndConfig();
        return false;
    }

    // A failed read leaves the last good table and map in place.
    std::array<uint8_t, kTableBytes> keys = KeyTable();
    const bool read = commands.ReadKeyTable(keys) == device::kResultSuccess;
    commands.EndConfig();
    if (!read) return false;
    const PositionMaps maps =
        MouseKeyTable::Build(std::span(keys.data(), slots * 3u), slots, GetPositionMaps());
    {
        std::lock_guard lock(keyTableLock_);
        keyTable_ = keys;
        tablesConnection_ = commands.BoundConnection() != device::CommandChannel::kAnyConnection
                                ? commands.BoundConnection()
                                : Channel().Connection();
    }
    SetPositionMaps(maps);
    return true;
}

bool CLumitrekMouseDevice::TablesReadOn(uint64_t connection) const {
    std::lock_guard lock(keyTableLock_);
    return tablesConnection_ != 0 && tablesConnection_ == connection;
}

bool CLumitrekMouseDevice::TablesRead() const {
    return IsConnected() && TablesReadOn(ConnectionNumber());
}

std::array<uint8_t, CLumitrekMouseDevice::kTableBytes> CLumitrekMouseDevice::KeyTable() const {
    std::lock_guard lock(keyTableLock_);
    return keyTable_;
}

void CLumitrekMouseDevice::ShowDpiRange() {
    const auto info = GetDeviceInfo();
    controls_.SetDpiRange(info[kInfoDpiStep], info[kInfoDpiSteps],
                          info[kInfoSmallestDpi] | info[kInfoSmallestDpi + 1] << 8);
}

void CLumitrekMouseDevice::OnSyncRequest() {
    Channel().SetSyncFlag(0);
    Queue<std::optional<SettingsRead>>(
        "settings-read",
        [](DeviceWorker::Session& session) -> std::optional<SettingsRead> {
            SettingsRead read;
            if (!ReadActiveSettingsBlock(session.commands, read.block, MouseSettingsBlock::kStride,
                                         read.index))
                return std::nullopt;
            return read;
        },
        [this](const Completion<std::optional<SettingsRead>>& read) {
            if (read.cancelled || !read.value) return;
            ApplySettingsRead(*read.value);
            RefreshPanels();
            if (GetOwnerWindow() != 0)
                ui::CMessageLoop::PostMessage(GetOwnerWindow(), kSettingsReadMessage,
                                              read.value->index);
        });
}

void CLumitrekMouseDevice::ApplySettingsRead(const SettingsRead& read) {
    settings_.TakeRead(read.index, read.block);
    const LightSetting light =
        settings_.LightOver(GetCurrentLightSetting(), InvertsSpeed());
    StoreCurrentLightSetting(light);
    engine_.Effects().ApplySettings(light);
    profile_.SetActiveDpiStage(settings_.ActiveDpiStage());
    const auto words = light.ToWords();
    profile_.SetLightInfo(words[0], words[1], words[2], words[3]);
    SaveProfile();
}

// ---- profile

int CLumitrekMouseDevice::LoadProfile() {
    UpdateProfilePaths();
    profile_.LoadSection(GetProfilePath());
    ReportProfileLoad();
    keyList_ = profile_.GetKeyList();
    ApplyLightSetting();
    dpiStages_ = profile_.GetDpiStages();
    systemWords_ = profile_.GetMouseSystemStages();
    return 1;
}

void CLumitrekMouseDevice::ResetToDefaults() {
    profile_.LoadSection(GetDefaultProfilePath());
    keyList_ = profile_.GetKeyList();
    ApplyLightSetting();
    dpiStages_ = profile_.GetDpiStages();
    systemWords_ = profile_.GetMouseSystemStages();
    SaveProfile();
    RefreshPanels();
}

int CLumitrekMouseDevice::ApplyLightSetting() {
    settings_.TakeLight(ApplyProfileLighting());
    ShowLogoTip();
    return 1;
}

bool CLumitrekMouseDevice::InvertsSpeed() const {
    return GetKind() == device::kKindMouseLongWait;
}

void CLumitrekMouseDevice::ShowLogoTip() {
    if (logo_ == nullptr) return;
    const int mode = profile_.GetLightInfo().mode;
    const LightNameLists& names = LightNames();
    const ui::CResourceManager& texts = ui::CResourceManager::GetInstance();
    std::string name;
    constexpr int kFirstProgramMode = MouseSettingsBlock::kFirstProgramMode;
    if (mode < kFirstProgramMode) {
        if (static_cast<std::size_t>(mode) < names.defaultNames.size())
            name = texts.GetText(names.defaultNames[static_cast<std::size_t>(mode)]);
    } else if (static_cast<std::size_t>(mode - kFirstProgramMode) < names.programNames.size()) {
        name = names.programNames[static_cast<std::size_t>(mode - kFirstProgramMode)];
    }
    logo_->SetToolTip(texts.GetText("Light_Set") + "\n" + texts.GetText("Overall_Light_Set") +
                      name);
}

void CLumitrekMouseDevice::SetKeyList(const std::vector<KeyMapping>& keys) {
    keyList_ = keys;
    profile_.SetKeyList(keyList_);
}

void CLumitrekMouseDevice::SetSelectedKeyMapping(const KeyMapping& mapping) {
    const int selected = GetSelectedKey();
    if (selected < 0 || selected >= static_cast<int>(keyList_.size())) return;
    keyList_[static_cast<std::size_t>(selected)] = mapping;
    profile_.SetKeyList(keyList_);
}

void CLumitrekMouseDevice::SetDpiStageEnabled(int n, bool on) {
    if (n < 0 || n >= MouseSettingsBlock::kDpiStages) return;
    if (dpiStages_.size() <= static_cast<std::size_t>(n)) dpiStages_.resize(n + 1u);
    dpiStages_[static_cast<std::size_t>(n)].enabled = on ? 1 : 0;
    profile_.SetDpiStages(dpiStages_);
}

void CLumitrekMouseDevice::SetDpiStageSteps(int n, int steps) {
    if (n < 0 || n >= MouseSettingsBlock::kDpiStages) return;
    if (dpiStages_.size() <= static_cast<std::size_t>(n)) dpiStages_.resize(n + 1u);
    DpiStage& stage = dpiStages_[static_cast<std::size_t>(n)];
    stage.x = static_cast<uint16_t>(std::clamp(steps, 0, 0xFFFF));
    if (stage.separateXY == 0) stage.y = stage.x;
    profile_.SetDpiStages(dpiStages_);
}

void CLumitrekMouseDevice::SetSystemWords(const std::array<uint32_t, 3>& words) {
    systemWords_ = words;
    profile_.SetMouseSystemStages(words[0], words[1], words[2]);
}

// ---- writes

void CLumitrekMouseDevice::SetScreenSize(int width, int height) {
    screenWidth_ = width;
    screenHeight_ = height;
}

bool CLumitrekMouseDevice::EncodeSettings(int byte0, std::vector<uint8_t>& block,
                                          unsigned& stride) {
    MouseSettingsBlock::Source source;
    source.byte0 = static_cast<uint8_t>(byte0);
    source.light = profile_.GetLightInfo();
    source.stages = profile_.GetDpiStages();
    source.reportStep = static_cast<int>(profile_.GetMouseSystemStages()[2] >> 16);
    source.activeStage = profile_.GetActiveDpiStage();
    source.corrections = profile_.GetCorrectList();
    const ui::Rect screen = ui::CWindowWnd::GetScreenRect();
    source.screenWidth = screenWidth_ > 0 ? screenWidth_ : screen.Width();
    source.screenHeight = screenHeight_ > 0 ? screenHeight_ : screen.Height();
    source.invertSpeed = InvertsSpeed();
    const auto bytes = MouseSettingsBlock::Encode(source);
    block.assign(bytes.begin(), bytes.end());
    stride = MouseSettingsBlock::kStride;
    return true;
}

std::vector<int> CLumitrekMouseDevice::GetUsedMacros() {
    return KeyTableBuilder::UsedMacros(keyList_, GetPositionMaps(), LibraryMacroCount());
}

void CLumitrekMouseDevice::ApplyKeys(ApplyDone done) {
    keyApply_.Queue(keyList_, {}, std::move(done));
}

void CLumitrekMouseDevice::ApplyProfile(ApplyDone done) {
    std::vector<uint8_t> settings;
    unsigned stride = 0;
    EncodeSettings(0, settings, stride);
    keyApply_.Queue(keyList_, std::move(settings), std::move(done));
}

void CLumitrekMouseDevice::WriteRecoilPatterns(WriteDone done) {
    const std::filesystem::path folder = GetUserFolder();
    Queue<int>(
        "recoil",
        [this, folder](DeviceWorker::Session& session) {
            device::CommandSet& commands = session.commands;
            if (commands.Usable()) {
                device::CommandSet::DeviceInfo info{};
                if (commands.ReadDeviceInfo(info) == device::kResultSuccess) SetDeviceInfo(info);
            }
            if (commands.LinkLost()) return static_cast<int>(device::kResultNoReply);
            const JsonDataFile files;
            const RecoilImage::Built built = RecoilImage::Build(files, folder);
            if (!built.image) return kRecoilRefused;
            commands.BeginConfig();
            const int written = commands.WriteRecoilImage(*built.image);
            commands.EndConfig();
            return written;
        },
        std::move(done));
}

void CLumitrekMouseDevice::ValidateMacroKeys() {
    LoadLightNameLists();
    if (!KeyApply::RepairMacroKeys(keyList_, static_cast<int>(MacroNames().size()))) return;
    SetKeyList(keyList_);
    RefreshKeyLabels();
}

// ---- panels

void CLumitrekMouseDevice::LoadLightNameLists() {
    LoadNameLists(MacroListFile::kFileName);
}

std::span<const KeyEntry> CLumitrekMouseDevice::FactoryKeys() const {
    return MouseKeyTable::Factory();
}

void CLumitrekMouseDevice::RefreshKeyLabels() {
    if (auto* panel = PanelOf<IKeySetPanel>(keySetPanel_)) panel->RefreshKeyLabels();
}

void CLumitrekMouseDevice::RefreshPanels() {
    LoadLightNameLists();
    ShowLogoTip();
    ShowLightingInPanel();
    ShowKeyInPanel(keySetPanel_, keyList_, GetSelectedKey(), false);
    // The picture's labels and the key info list name what the profile's keys do.
    RefreshKeyLabels();
    ShowSettingsInControls();
}

void CLumitrekMouseDevice::ShowSettingsInControls() {
    const int active = profile_.GetActiveDpiStage();
    const int stages =
        std::min<int>(MouseSettingsBlock::kDpiStages, static_cast<int>(dpiStages_.size()));
    for (int n = 0; n < stages; ++n) {
        controls_.SetDpiStageEnabled(n, true);
        controls_.SetDpiStageValue(n, dpiStages_[static_cast<std::size_t>(n)].x, active);
    }
    // A stage the user switched off is shown off (the mouse has it off), not offered as on.
    for (int n = 0; n < stages; ++n)
        if (dpiStages_[static_cast<std::size_t>(n)].enabled == 0)
            controls_.SetDpiStageEnabled(n, false);
    const auto low = [](uint32_t word) { return static_cast<int>(word & 0xFFFF); };
    const auto high = [](uint32_t word) { return static_cast<int>(word >> 16); };
    controls_.SetPointerSpeed(high(systemWords_[0]));
    controls_.SetDoubleClickSpeed(low(systemWords_[0]));
    controls_.SetPointerPrecision(low(systemWords_[1]) != 0);
    controls_.SetScrolling(high(systemWords_[1]) != 0, low(systemWords_[2]));
    controls_.SelectReportRate(high(systemWords_[2]));
}

void CLumitrekMouseDevice::BindKeyButtons() {
    if (GetPageLayout().empty()) {
        CLumitrekUSBDevice::BindKeyButtons();
        return;
    }
    ui::CControlUI* buttons = FindInPage(kMouseButtonContainer);
    auto* container =
        buttons ? static_cast<ui::CContainerUI*>(buttons->GetInterface("Container")) : nullptr;
    if (container) {
        BindButtonsIn(*container);
        BindSecondPictureIn(*container);
    }
    LoadLightNameLists();
    BindProfileAndLightingPanels();
    BindMacroAndKeyPanels(macroPanel_, keySetPanel_);
    shootPanel_ = FindInPage(IShootPanel::kControlName);
    if (auto* shoot = PanelOf<IShootPanel>(shootPanel_)) {
        shoot->SetShootFolders(GetUserFolder(), GetDefaultProfilePath().parent_path());
        shoot->InitShootPanel();
        shoot->SelectWeapon(0);
    }
}

void CLumitrekMouseDevice::BindSecondPictureIn(ui::CContainerUI& container) {
    secondLeds_.clear();
    logo_ = nullptr;
    logoLed_ = -1;
    for (int i = 0; i < container.GetCount(); ++i) {
        ui::CControlUI* child = container.GetItemAt(i);
        if (child->GetClass() != "DeviceKeyButton") continue;
        const auto name = ButtonName::Split(child->GetName());
        if (name && platform::EqualsNoCase(name->prefix, kSecondLedPrefix) &&
            name->number < kMaxSecondLeds) {
            if (secondLeds_.size() <= static_cast<std::size_t>(name->number))
                secondLeds_.resize(name->number + 1u, nullptr);
            secondLeds_[static_cast<std::size_t>(name->number)] = child;
            if (auto* button =
                    static_cast<ui::CDeviceKeyButtonUI*>(child->GetInterface("DeviceKeyButton")))
                button->SetLightColour(kMouseBoundLedColour, 255, true);
        }
        // The logo shows the LED it sits on; a logo that is no LED button shows none.
        if (logo_ == nullptr && platform::EqualsNoCase(child->GetUserData(), kLogoMark)) {
            logo_ = child;
            logoLed_ = name && platform::EqualsNoCase(name->prefix, "light_") ? name->number : -1;
        }
    }
}

void CLumitrekMouseDevice::RefreshKeyPreview() {
    CLumitrekUSBDevice::RefreshKeyPreview();
    if (!secondLeds_.empty() && Effects() != nullptr) {
        KeyButtonPreview second(secondLeds_);
        Effects()->RefreshKeyPreview(second);
    }
    if (logo_ == nullptr || logoLed_ < 0 || !logo_->IsVisible()) return;
    const std::vector<ui::CControlUI*> logo{logo_};
    KeyButtonPreview sink(logo);
    const lighting::Rgba colour = lighting::Rgba::FromWord(GetLedColour(logoLed_));
    sink.ShowKeyLight(0, colour.PreviewWord(), colour.alpha);
}

void CLumitrekMouseDevice::ShowFunctionPage(int page) {
    CLumitrekUSBDevice::ShowFunctionPage(page);
    if (ui::CControlUI* hint = FindInPage(kHint)) hint->SetVisible(false);
}

void CLumitrekMouseDevice::SelectKey(int position) {
    CLumitrekUSBDevice::SelectKey(position);
    ShowKeyInPanel(keySetPanel_, keyList_, position, true);
}

}  // namespace model
