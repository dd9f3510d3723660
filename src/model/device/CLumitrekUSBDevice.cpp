// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/CLumitrekUSBDevice.h"

#include <optional>

#include "data/DataPaths.h"
#include "data/macro/MacroListFile.h"
#include "device/protocol/ResultCode.h"
#include "device/scanner/DeviceKind.h"
#include "model/device/ButtonName.h"
#include "model/device/DeviceTabTimers.h"
#include "model/device/FunctionPages.h"
#include "model/device/IKeySetPanel.h"
#include "model/device/ILightingPanel.h"
#include "model/device/IMacroPanel.h"
#include "model/device/IPowerIndicator.h"
#include "model/device/IProfilePanel.h"
#include "model/device/KeyButtonPreview.h"
#include "model/device/PanelLookup.h"
#include "platform/Paths.h"
#include "platform/TextCompare.h"
#include "platform/Trace.h"
#include "ui/CMessageLoop.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CTabLayoutUI.h"
#include "ui/controls/CDeviceKeyButtonUI.h"

namespace model {

namespace {

constexpr std::size_t kStatusBlockBytes = 6;
constexpr const char* kKeyButtonClass = "DeviceKeyButton";
constexpr const char* kSelectPanelClass = "SelectPanel";

// What a freshly bound picture shows: its LEDs blue on a white panel.
constexpr uint32_t kUsbBoundLedColour = 0x0000FF;
constexpr ui::Color kBoundPanelColour = 0xFFFFFFFF;

ui::CDeviceKeyButtonUI* AsKeyButton(ui::CControlUI* control) {
    return static_cast<ui::CDeviceKeyButtonUI*>(control->GetInterface("DeviceKeyButton"));
}

ui::CTabLayoutUI* AsTabLayout(ui::CControlUI* control) {
    return control ? static_cast<ui::CTabLayoutUI*>(control->GetInterface("TabLayout")) : nullptr;
}

}  // namespace

CLumitrekUSBDevice::CLumitrekUSBDevice(std::shared_ptr<device::HidBackend> backend)
    : commandChannel_(backend),
      eventChannel_(backend),
      alive_(std::make_shared<CLumitrekUSBDevice*>(this)) {
    // Devices are made on the UI thread; a tab given later names its window's loop.
    uiLoop_.store(ui::CMessageLoop::Current());
    worker_.SetUiLoop(uiLoop_.load());
}

CLumitrekUSBDevice::~CLumitrekUSBDevice() {
    StopThreads();
    alive_.reset();
}

void CLumitrekUSBDevice::StopThreads() {
    if (listener_) StopListener();
    if (lightThread_.Running()) StopLightThread();
    // The device is going away: a wait the worker is in ends with the channel, and
    // nothing still queued is sent.
    commandChannel_.Close();
    worker_.Stop();
}

std::string CLumitrekUSBDevice::GetClass() const {
    return "LumitrekUSBDevice";
}

void* CLumitrekUSBDevice::GetInterface(std::string_view name) {
    if (name == "LumitrekUSBDevice") return this;
    return CHorizontalLayoutUI::GetInterface(name);
}

// ---- buttons

void CLumitrekUSBDevice::BindKeyButtons() {
    if (pageLayout_.empty()) {
        SetKeyCount(0);
        SetLedCount(0);
        keyButtons_.clear();
        ledButtons_.clear();
        return;
    }
    for (int i = 0; i < GetCount(); ++i) {
        ui::CControlUI* child = GetItemAt(i);
        if (child->GetClass() != kSelectPanelClass) continue;
        if (auto* panel = static_cast<ui::CContainerUI*>(child->GetInterface("Container"))) {
            BindButtonsIn(*panel);
            panel->SetBkColor(kBoundPanelColour);
        }
        break;
    }
}

void CLumitrekUSBDevice::BindButtonsIn(ui::CContainerUI& container) {
    for (int i = 0; i < container.GetCount(); ++i) {
        ui::CControlUI* child = container.GetItemAt(i);
        if (child->GetClass() != kKeyButtonClass) continue;
        const auto name = ButtonName::Split(child->GetName());
        if (!name) continue;
        if (platform::EqualsNoCase(name->prefix, "key_") && name->number < GetKeyCount()) {
            keyButtons_[name->number] = child;
        } else if (platform::EqualsNoCase(name->prefix, "light_") && name->number < GetLedCount()) {
            ledButtons_[name->number] = child;
            if (auto* button = AsKeyButton(child))
                button->SetLightColour(kUsbBoundLedColour, 255, button->IsLightOverlay());
        }
    }
    // The buttons show the bound colour until the preview refreshes them.
    if (effects_) effects_->Wake();
}

void CLumitrekUSBDevice::SetKeyCount(int n) {
    n = std::max(n, 0);
    if (n == keyCount_.load()) return;
    keyCount_.store(n);
    keyButtons_.assign(n, nullptr);
}

void CLumitrekUSBDevice::SetLedCount(int n) {
    n = std::clamp(n, 0, lighting::kLedSlots);
    if (n != ledCount_.load()) {
        ledCount_.store(n);
        ledButtons_.assign(n, nullptr);
    }
    if (!effects_) return;
    effects_->LoadLightList(std::vector<LightSetting>(n));
    effects_->ClearColours();
}

void CLumitrekUSBDevice::RefreshKeyPreview() {
    if (!effects_) return;
    KeyButtonPreview sink(ledButtons_);
    effects_->RefreshKeyPreview(sink);
}

void CLumitrekUSBDevice::SetLedColour(int position, uint32_t rgba) {
    if (effects_ && position >= 0 && position < GetLedCount())
        effects_->SetLedColour(position, rgba);
}

uint32_t CLumitrekUSBDevice::GetLedColour(int position) const {
    if (!effects_ || position < 0 || position >= GetLedCount()) return 0;
    return effects_->GetLedColour(position);
}

// ---- pages

void CLumitrekUSBDevice::ShowFunctionPage(int page) {
    functionPage_ = page;
    ui::CTabLayoutUI* functions = AsTabLayout(FindInPage("device_function_switch"));
    ui::CTabLayoutUI* keyFunctions = AsTabLayout(FindInPage("device_key_function_switch"));
    if (!functions || !keyFunctions) return;
    const FunctionPageSelection pick = FunctionPages::For(page, kind_);
    if (pick.functionSwitch != FunctionPages::kUnchanged)
        functions->SelectItem(pick.functionSwitch);
    if (pick.keyFunctionSwitch != FunctionPages::kUnchanged)
        keyFunctions->SelectItem(pick.keyFunctionSwitch);
}

ui::CControlUI* CLumitrekUSBDevice::FindInPage(std::string_view name) {
    return model::FindInPage(*this, name);
}

ui::CControlUI* CLumitrekUSBDevice::LightPanelControl() {
    if (!lightPanel_) lightPanel_ = FindInPage("LightControlItem");
    return lightPanel_;
}

ui::CControlUI* CLumitrekUSBDevice::ProfilePanelControl() {
    if (!profilePanel_) profilePanel_ = FindInPage("DeviceProfileItem");
    return profilePanel_;
}

// ---- configuration

void CLumitrekUSBDevice::SetPowerIndicator(ui::CControlUI* indicator) {
    powerIndicator_ = indicator;
    if (auto* power = PanelOf<IPowerIndicator>(powerIndicator_))
        power->SetPowerParameter(powerParameter_);
}

void CLumitrekUSBDevice::SetPowerParameter(int value) {
    powerParameter_ = value;
    if (auto* power = PanelOf<IPowerIndicator>(powerIndicator_)) power->SetPowerParameter(value);
}

void CLumitrekUSBDevice::PollStatusBlock(unsigned notifyMessage, bool linkFromTimeLimit) {
    using Status = std::optional<std::array<uint8_t, kStatusBlockBytes>>;
    Queue<Status>(
        "status",
        [linkFromTimeLimit](DeviceWorker::Session& session) -> Status {
            std::array<uint8_t, kStatusBlockBytes> status{};
            if (session.commands.ReadStatusBlock(status, 0) != device::kResultSuccess)
                return std::nullopt;
            if (linkFromTimeLimit) status[3] = session.commands.Channel().LongTimeLimit() ? 1 : 0;
            return status;
        },
        [this, notifyMessage](const Completion<Status>& read) {
            if (read.cancelled || !read.value) return;
            if (auto* power = PanelOf<IPowerIndicator>(powerIndicator_))
                power->ShowPowerReport(*read.value);
            if (notifyMessage != 0 && ownerWindow_ != 0)
                ui::CMessageLoop::PostMessage(ownerWindow_, notifyMessage, (*read.value)[4]);
        });
}

void CLumitrekUSBDevice::SetIdentity(const device::SupportedDeviceEntry& row) {
    identity_ = row;
    kind_ = row.kind;
    role_ = row.role;
}

void CLumitrekUSBDevice::SetKindRole(int kind, int role) {
    kind_ = kind;
    role_ = role;
}

void CLumitrekUSBDevice::SetDeviceTab(ui::CControlUI* tab) {
    deviceTab_ = tab;
    ui::CPaintManagerUI* manager = tab ? tab->GetManager() : nullptr;
    uiLoop_.store(manager ? manager->GetMessageLoop() : ui::CMessageLoop::Current());
    worker_.SetUiLoop(uiLoop_.load());
}

bool CLumitrekUSBDevice::IsPreviewEnabled() const {
    return effects_ ? effects_->IsPreviewEnabled() : previewEnabled_;
}

void CLumitrekUSBDevice::SetPreviewEnabled(bool on) {
    previewEnabled_ = on;
    if (effects_) effects_->SetPreviewEnabled(on);
    if (on && kind_ == device::kKindKeyboard) {
        Queue<int>("host-lighting", [](DeviceWorker::Session& session) {
            return session.commands.EnableHostLighting();
        });
    }
}

void CLumitrekUSBDevice::SetPictureOnScreen(bool shown) {
    if (effects_) effects_->SetOnScreen(shown);
}

bool CLumitrekUSBDevice::LightingAtRest() const {
    return effects_ && effects_->State().resting.load(std::memory_order_acquire);
}

void CLumitrekUSBDevice::OnLightThreadWakes() {
    std::weak_ptr<CLumitrekUSBDevice*> alive = alive_;
    PostToUi([alive] {
        if (auto device = alive.lock())
            if ((*device)->IsConnected())
                (*device)->ArmTabTimer(kTimerRefresh, DeviceTabTimers::kFirstRefreshMs);
    });
}

void CLumitrekUSBDevice::SetLightSetting(uint32_t w0, uint32_t w1, uint32_t w2, uint32_t w3) {
    StoreCurrentLightSetting(LightSetting::FromWords(w0, w1, w2, w3));
    if (profileData_) profileData_->SetLightInfo(w0, w1, w2, w3);
}

std::array<uint32_t, 4> CLumitrekUSBDevice::GetLightSetting() const {
    return GetCurrentLightSetting().ToWords();
}

void CLumitrekUSBDevice::SetTypeIndex(int n) {
    typeIndex_ = n;
    if (profileData_) profileData_->SetDeviceIndex(0);
}

// ---- profile

void CLumitrekUSBDevice::ConfigureKind(int kind, const std::string& typeName,
                                       lighting::CLightEffects* effects, CBasicProfiledata* profile,
                                       int lightListIndex) {
    SetKindRole(kind, device::kRoleCommand);
    typeName_ = typeName;
    effects_ = effects;
    profileData_ = profile;
    profileData_->SetLightListIndex(lightListIndex);
    profileData_->SetDefaultProfilePath(GetDefaultProfilePath());
}

LightSetting CLumitrekUSBDevice::ApplyProfileLighting() {
    if (!profileData_) return GetCurrentLightSetting();
    const LightSetting setting = profileData_->GetLightInfo();
    StoreCurrentLightSetting(setting);
    if (effects_) {
        effects_->ApplySettings(setting);
        effects_->LoadLightList(profileData_->GetLightList());
    }
    profileData_->LoadLightConfig(profileData_->GetLightConfigPath());
    std::vector<LightStep> steps = profileData_->LoadLightSteps();
    if (effects_) effects_->LoadLightSteps(std::move(steps));
    return setting;
}

bool CLumitrekUSBDevice::ReadActiveSettingsBlock(device::CommandSet& commands,
                                                 std::span<uint8_t> block, unsigned stride,
                                                 uint8_t& index) {
    if (!commands.Usable()) return false;
    std::array<uint8_t, 1> active{};
    if (commands.ReadSettingsMemory(active, 0) != device::kResultSuccess) return false;
    if (commands.ReadSettingsMemory(block, static_cast<uint16_t>(active[0] * stride)) !=
        device::kResultSuccess)
        return false;
    index = active[0];
    return true;
}

int CLumitrekUSBDevice::WriteSettingsOn(device::CommandSet& commands,
                                        std::span<const uint8_t> block, int offset) {
    if (commands.Usable()) commands.BeginConfig();
    const int result = commands.WriteSettingsMemory(block, static_cast<uint16_t>(offset));
    commands.EndConfig();
    return result;
}

int CLumitrekUSBDevice::WriteSettings(int profileIndex, int byte0, WriteDone done) {
    std::vector<uint8_t> block;
    unsigned stride = 0;
    if (!EncodeSettings(byte0, block, stride)) return 0;
    const int offset = profileIndex * static_cast<int>(stride);
    // Block 0 is the profile's own: the next connection must know whether it arrived.
    if (offset == 0) {
        const std::uint64_t ticket = owed_.Queued();
        // Completions never outlive the worker, a member of this object.
        done = [this, ticket, done = std::move(done)](const Completion<int>& written) {
            owed_.Ended(ticket, !written.cancelled && written.value == device::kResultSuccess);
            if (done) done(written);
        };
    }
    // Only the newest block of an index is worth sending to a device that lags behind.
    Queue<int>(
        "settings@" + std::to_string(offset),
        [block = std::move(block), offset](DeviceWorker::Session& session) {
            return WriteSettingsOn(session.commands, block, offset);
        },
        std::move(done));
    return 1;
}

void CLumitrekUSBDevice::ApplyKeys(ApplyDone done) {
    // Nothing to apply on a kind without a key table; the answer still comes in order.
    Queue<ApplyOutcome>(
        {}, [](DeviceWorker::Session&) { return ApplyOutcome{}; }, std::move(done));
}

void CLumitrekUSBDevice::ApplyProfile(ApplyDone done) {
    const bool queued = WriteSettings(0, 0, [done](const Completion<int>& written) {
        Completion<ApplyOutcome> outcome;
        outcome.cancelled = written.cancelled;
        outcome.value.settings = written.value;
        if (done) done(outcome);
    }) != 0;
    if (!queued) ApplyKeys(std::move(done));
}

void CLumitrekUSBDevice::UpdateProfilePaths() {
    if (!profileData_) return;
    const std::filesystem::path path = DataPaths::ProfileFile(typeName_, profileFileName_);
    profileFileUsable_ = !path.empty();
    if (profileFileUsable_) profileData_->SetProfilePath(path);
    profileData_->SetLightConfigPath(DataPaths::LightConfigFile(typeName_, lightListName_));
}

std::filesystem::path CLumitrekUSBDevice::GetProfilePath() const {
    return profileData_ && profileFileUsable_ ? profileData_->GetProfilePath()
                                              : std::filesystem::path();
}

void CLumitrekUSBDevice::ReportProfileLoad() {
    if (!profileData_) return;
    using Outcome = CBasicProfiledata::LoadReport::Outcome;
    const CBasicProfiledata::LoadReport& report = profileData_->LastLoad();
    // A file (re)made from the defaults names its profile again, so that it still exports
    // and imports as that profile.
    if (report.outcome == Outcome::Created || report.outcome == Outcome::Replaced)
        if (auto* panel = PanelOf<IProfilePanel>(ProfilePanelControl()))
            panel->RestoreProfileIdentity(report.file);
    if (!report.Lost()) {
        keptFileReported_.clear();
        return;
    }
    if (report.outcome == Outcome::Kept) {
        if (report.file == keptFileReported_) return;
        keptFileReported_ = report.file;
    }
    if (profileNotice_) profileNotice_(*this, report);
}

void CLumitrekUSBDevice::SaveProfile() {
    if (profileData_ && profileFileUsable_) profileData_->Save();
}

int CLumitrekUSBDevice::LibraryMacroCount() const {
    const JsonDataFile files;
    const auto library = MacroListFile::Read(files, MacroListFile::PathIn(GetUserFolder()));
    return library ? static_cast<int>(library->size()) : 0;
}

void CLumitrekUSBDevice::LoadNameLists(const std::string& macroListFile) {
    const auto library = MacroListFile::Read(jsonFile_, GetUserFolder() / macroListFile);
    macroNames_.clear();
    if (library)
        for (const MacroInfo& macro : *library) macroNames_.push_back(macro.name);
    const int index = profileData_ ? profileData_->GetLightListIndex() : 0;
    lightNames_.Load(jsonFile_, index, DataPaths::DefaultLightFile(),
                     DataPaths::LightConfigFile(typeName_, lightListName_));
}

void CLumitrekUSBDevice::BindProfileAndLightingPanels() {
    if (auto* profile = PanelOf<IProfilePanel>(ProfilePanelControl())) {
        profile->AttachDevice(this);
        profile->SetKindCode(kind_);
        profile->SetFolders(GetUserFolder(), GetDefaultProfilePath());
        profile->InitProfileList();
        // The tab of the page on show (the first, lighting, at start).
        profile->SelectTab(GetFunctionPage() - 1);
        SetProfileFileName(profile->GetSelectedUUID());
    }
    if (auto* lighting = PanelOf<ILightingPanel>(LightPanelControl())) {
        lighting->AttachDevice(this);
        lighting->SetKindCode(kind_);
        lighting->FillModeList(lightNames_.defaultNames, lightNames_.defaultVisible);
    }
}

void CLumitrekUSBDevice::BindMacroAndKeyPanels(ui::CControlUI*& macroPanel,
                                               ui::CControlUI*& keySetPanel) {
    macroPanel = FindInPage(IMacroPanel::kControlName);
    auto* macros = PanelOf<IMacroPanel>(macroPanel);
    if (macros) {
        macros->AttachDevice(this);
        macros->SetLibraryFolder(GetUserFolder());
        macros->LoadMacroList();
    }
    keySetPanel = FindInPage(IKeySetPanel::kControlName);
    if (auto* keys = PanelOf<IKeySetPanel>(keySetPanel)) {
        keys->AttachDevice(this);
        keys->BindControls();
        keys->SetDeviceKind(kind_);
        keySetPanel->SetVisible(false);
        keys->FillMacroNames(macros ? macros->GetMacroNames() : MacroNames());
    }
}

void CLumitrekUSBDevice::ShowKeyInPanel(ui::CControlUI* keySetPanel,
                                        const std::vector<KeyMapping>& keys, int position,
                                        bool show) {
    auto* panel = PanelOf<IKeySetPanel>(keySetPanel);
    if (!panel) return;
    const bool known = position >= 0 && position < static_cast<int>(keys.size());
    if (show && known) keySetPanel->SetVisible(true);
    if (known) panel->SetKeyMapping(keys[static_cast<std::size_t>(position)]);
    if (!show) panel->RefreshKeyLabels();
}

void CLumitrekUSBDevice::ShowLightingInPanel() {
    auto* lighting = PanelOf<ILightingPanel>(LightPanelControl());
    if (!lighting) return;
    lighting->FillModeList(lightNames_.defaultNames, lightNames_.defaultVisible);
    const auto words = GetLightSetting();
    lighting->ShowLightSetting(words[0], words[1], words[2], words[3]);
}

std::filesystem::path CLumitrekUSBDevice::GetUserFolder() const {
    return platform::UserDataDir(typeName_);
}

std::filesystem::path CLumitrekUSBDevice::GetDefaultProfilePath() const {
    return DataPaths::DefaultProfileFile(typeName_);
}

// ---- channels

bool CLumitrekUSBDevice::OpenCommandChannel(const device::SupportedDeviceEntry& slot) {
    if (commandChannel_.IsOpen()) return true;
    if (!commandChannel_.Open(slot.path)) return false;
    commandChannel_.SetLongTimeLimit(slot.kind == device::kKindMouseLongWait);
    commandChannel_.SetLinkChecked(slot.kind == device::kKindMouseLongWait);
    SetIdentity(slot);
    std::lock_guard lock(tablesLock_);
    openedAttributes_ = commandChannel_.Device().Attributes();
    return true;
}

device::HidAttributes CLumitrekUSBDevice::OpenedAttributes() const {
    std::lock_guard lock(tablesLock_);
    return openedAttributes_;
}

void CLumitrekUSBDevice::CloseCommandChannel() {
    // What waits is dropped first, so the worker cannot start it once the close has cut
    // the wait it is in.
    worker_.Cancel();
    commandChannel_.Close();
}

bool CLumitrekUSBDevice::OpenEventChannel(const std::string& path) {
    if (!eventChannel_.IsOpen()) eventChannel_.Open(path);
    StartListener();
    return eventChannel_.IsOpen();
}

void CLumitrekUSBDevice::CloseEventChannel() {
    // The listener runs even when the open failed; it must not outlive the channel's use.
    StopListener();
    if (eventChannel_.IsOpen()) eventChannel_.Close();
}

uint16_t CLumitrekUSBDevice::LastEventUsage() const {
    return listener_ ? listener_->LastEventUsage() : 0;
}

void CLumitrekUSBDevice::StartListener() {
    StopListener();
    device::ListenerOwner& owner = *this;
    listener_ = std::make_unique<device::InputListener>(owner, KindOfListener());
    listener_->Start();
}

void CLumitrekUSBDevice::StopListener() {
    if (listener_ && listener_->Running()) listener_->Stop();
}

void CLumitrekUSBDevice::ArmSyncTimer(int intervalMs) {
    std::weak_ptr<CLumitrekUSBDevice*> alive = alive_;
    PostToUi([alive, intervalMs] {
        if (auto device = alive.lock())
            (*device)->ArmTabTimer(kTimerSync, static_cast<unsigned>(intervalMs));
    });
}

void CLumitrekUSBDevice::OnKeyEvent(int /*keySlot*/, int /*action*/) {}

void CLumitrekUSBDevice::PostToUi(std::function<void()> task) {
    if (ui::CMessageLoop* loop = uiLoop_.load()) loop->PostTask(std::move(task));
}

void CLumitrekUSBDevice::ArmTabTimer(unsigned id, unsigned elapseMs) {
    ui::CPaintManagerUI* manager = deviceTab_ ? deviceTab_->GetManager() : nullptr;
    if (manager) manager->SetTimer(deviceTab_, id, elapseMs);
}

// ---- lighting state

LightSetting CLumitrekUSBDevice::GetCurrentLightSetting() const {
    std::lock_guard lock(currentLightLock_);
    return currentLight_;
}

void CLumitrekUSBDevice::StoreCurrentLightSetting(const LightSetting& setting) {
    std::lock_guard lock(currentLightLock_);
    currentLight_ = setting;
}

PositionMaps CLumitrekUSBDevice::GetPositionMaps() const {
    std::lock_guard lock(tablesLock_);
    return maps_;
}

void CLumitrekUSBDevice::SetPositionMaps(const PositionMaps& maps) {
    std::lock_guard lock(tablesLock_);
    maps_ = maps;
}

device::CommandSet::DeviceInfo CLumitrekUSBDevice::GetDeviceInfo() const {
    std::lock_guard lock(tablesLock_);
    return info_;
}

void CLumitrekUSBDevice::SetDeviceInfo(const device::CommandSet::DeviceInfo& info) {
    std::lock_guard lock(tablesLock_);
    info_ = info;
}

// ---- light thread

void CLumitrekUSBDevice::StartLightThread() {
    if (lightThread_.Running()) StopLightThread();
    lightThread_.Start([this](platform::Event& stop) { RunLightThread(stop); });
}

platform::WorkerThread::StopResult CLumitrekUSBDevice::StopLightThread() {
    const auto result = lightThread_.Stop(1000);
    platform::Trace(platform::WorkerThread::ExitText(result));
    return result;
}

void CLumitrekUSBDevice::RunLightThread(platform::Event& stop) {
    // A device kind without an effect engine only waits for its stop.
    stop.Wait(-1);
}

}  // namespace model
