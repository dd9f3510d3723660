// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/CLumitrekKeyboardDevice.h"

#include <algorithm>

#include "data/macro/MacroListFile.h"
#include "device/protocol/ResultCode.h"
#include "device/scanner/DeviceKind.h"
#include "model/device/ColourStream.h"
#include "model/device/FactoryKeyTable.h"
#include "model/device/IKeySetPanel.h"
#include "model/device/ILightingPanel.h"
#include "model/device/IMacroPanel.h"
#include "model/device/IProfilePanel.h"
#include "model/device/KeyTableBuilder.h"
#include "model/device/PanelLookup.h"
#include "model/device/SlotMapStore.h"
#include "ui/CContainerUI.h"

namespace model {

namespace {

constexpr const char* kKeyboardType = "keyboard";
constexpr const char* kKeyboardButtonContainer = "keyboard_device_key_light";
constexpr int kKeyboardLightListIndex = 0;
constexpr int kFnKeyPosition = 110;

KeyAssignment HalfFrom(uint16_t position, uint8_t type, uint8_t byte1, uint8_t byte0) {
    return {position, type, byte1, byte0};
}

}  // namespace

CLumitrekKeyboardDevice::CLumitrekKeyboardDevice(std::shared_ptr<device::HidBackend> backend)
    : CLumitrekUSBDevice(std::move(backend)) {
    ConfigureKind(device::kKindKeyboard, kKeyboardType, &engine_.Effects(), &profile_,
                  kKeyboardLightListIndex);
    // Whatever the last run could not write is still owed to the keyboard.
    Owed().Attach(GetUserFolder() / OwedSettings::kFileName);
}

CLumitrekKeyboardDevice::~CLumitrekKeyboardDevice() {
    StopThreads();
}

std::string CLumitrekKeyboardDevice::GetClass() const {
    return "LumitrekKeyboardDevice";
}

void* CLumitrekKeyboardDevice::GetInterface(std::string_view name) {
    if (name == "LumitrekKeyboardDevice") return this;
    if (name == IKeyListOwner::kInterfaceName) return static_cast<IKeyListOwner*>(this);
    return CLumitrekUSBDevice::GetInterface(name);
}

// ---- connection

void CLumitrekKeyboardDevice::OnConnected() {
    Channel().SetSyncFlag(0);
    const std::uint64_t writesBefore = Owed().LastQueued();
    Queue<ConnectRead>(
        "connect",
        [this](DeviceWorker::Session& session) {
            ConnectRead read;
            read.tables = ReadTablesOn(session.commands);
            read.settings = ReadSettingsOn(session.commands);
            return read;
        },
        [this, writesBefore](const Completion<ConnectRead>& read) {
            // Unplugged before the routine ran: the next arrival runs it again.
            if (read.cancelled) return;
            LoadProfile();
            // The keyboard's own settings win over the file's, unless the program still
            // owes it the profile's: those the keyboard holds are then stale (a write
            // the last unplug dropped), and taking them would put them into the profile,
            // so the profile's go to the keyboard instead.
            bool owed = false;
            if (read.value.settings && Owed().LastQueued() == writesBefore) {
                owed = Owed().Owed() && !KeyboardSettingsBlock::SameTakenSettings(
                                            ProfileSettingsBlock(), read.value.settings->block);
                if (!owed) {
                    Owed().Settle();
                    ApplySettingsRead(*read.value.settings);
                }
            }
            RefreshPanels();
            StartLightThread();
            if (owed) WriteSettings(0, 0, WriteDone{});
        });
}

bool CLumitrekKeyboardDevice::ReadTablesOn(device::CommandSet& commands) {
    if (!commands.Usable()) return false;
    commands.BeginConfig();
    device::CommandSet::DeviceInfo info{};
    if (commands.ReadDeviceInfo(info) != device::kResultSuccess) {
        commands.EndConfig();
        return false;
    }
    SetDeviceInfo(info);
    const int slots = info[5];
    // A keyboard without keys is a block read wrong, not a keyboard; it must not be left
    // in configuration either.
    if (slots == 0 || !Channel().SetTransferLength(slots * 3u)) {
        commands.EndConfig();
        return false;
    }

    // Read into scratch tables so that a failed read leaves the last good ones in place.
    std::array<uint8_t, kTableBytes> keys = KeyTable();
    std::array<uint8_t, kTableBytes> leds = LedMapTable();
    const bool read = commands.ReadKeyTable(keys) == device::kResultSuccess &&
                      commands.ReadLedMap(leds) == device::kResultSuccess;
    commands.EndConfig();
    if (!read) return false;
    // The slots of remapped keys may no longer show their factory entries; the layout
    // learnt from an earlier connection still places them.
    const device::HidAttributes attributes = OpenedAttributes();
    const PositionMaps maps =
        SlotMapStore(GetUserFolder())
            .Resolve({attributes.vendorId, attributes.productId, attributes.versionNumber}, keys,
                     leds, slots);
    {
        std::lock_guard lock(keyTablesLock_);
        keyTable_ = keys;
        ledMapTable_ = leds;
        tablesConnection_ = commands.BoundConnection() != device::CommandChannel::kAnyConnection
                                ? commands.BoundConnection()
                                : Channel().Connection();
    }
    SetPositionMaps(maps);
    return true;
}

bool CLumitrekKeyboardDevice::TablesReadOn(uint64_t connection) const {
    std::lock_guard lock(keyTablesLock_);
    return tablesConnection_ != 0 && tablesConnection_ == connection;
}

bool CLumitrekKeyboardDevice::TablesRead() const {
    return IsConnected() && TablesReadOn(ConnectionNumber());
}

std::array<uint8_t, CLumitrekKeyboardDevice::kTableBytes> CLumitrekKeyboardDevice::KeyTable()
    const {
    std::lock_guard lock(keyTablesLock_);
    return keyTable_;
}

std::array<uint8_t, CLumitrekKeyboardDevice::kTableBytes> CLumitrekKeyboardDevice::LedMapTable()
    const {
    std::lock_guard lock(keyTablesLock_);
    return ledMapTable_;
}

std::optional<CLumitrekKeyboardDevice::SettingsRead> CLumitrekKeyboardDevice::ReadSettingsOn(
    device::CommandSet& commands) {
    SettingsRead read;
    if (!ReadActiveSettingsBlock(commands, read.block, KeyboardSettingsBlock::kStride, read.index))
        return std::nullopt;
    return read;
}

void CLumitrekKeyboardDevice::ReadSettingsFromDevice(std::function<void()> then) {
    Channel().SetSyncFlag(0);
    Queue<std::optional<SettingsRead>>(
        "settings-read",
        [](DeviceWorker::Session& session) { return ReadSettingsOn(session.commands); },
        [this, then = std::move(then), writesBefore = Owed().LastQueued()](
            const Completion<std::optional<SettingsRead>>& read) {
            if (read.cancelled) return;
            // A change the user made while the read was on its way is newer than what it
            // found, and is being written: taking the read would undo it in the profile.
            if (read.value && Owed().LastQueued() == writesBefore) ApplySettingsRead(*read.value);
            if (then) then();
        });
}

void CLumitrekKeyboardDevice::ApplySettingsRead(const SettingsRead& read) {
    const KeyboardSettingsBlock::Decoded decoded = KeyboardSettingsBlock::Decode(read.block);
    activeIndex_ = read.index;
    settingsBlock_ = decoded.kept;
    settingsBlock_[0] = activeIndex_;
    deviceLight_ = decoded.light;

    LightSetting current = GetCurrentLightSetting();
    current.mode = decoded.light.mode;
    current.brightness = decoded.light.brightness;
    current.speed = decoded.light.speed;
    current.direction = decoded.light.direction;
    current.multiColour = decoded.light.multiColour;
    current.red = decoded.light.red;
    current.green = decoded.light.green;
    current.blue = decoded.light.blue;
    current.zzccMode = decoded.light.zzccMode;
    StoreCurrentLightSetting(current);
    // The engine restarts the effect when the mode differs from the one it shows.
    engine_.Effects().ApplySettings(current);

    systemStages_.SetKey6Flag(decoded.key6Flag);
    systemStages_.SetWFlag(decoded.wFlag);
    systemStages_.SetWinFlag(decoded.winFlag);
    profile_.SetSystemStages(systemStages_.words[0], systemStages_.words[1],
                             systemStages_.words[2]);
    const auto words = current.ToWords();
    profile_.SetLightInfo(words[0], words[1], words[2], words[3]);
    SaveProfile();
}

void CLumitrekKeyboardDevice::OnSyncRequest() {
    // A profile switched on the keyboard names another file: it is loaded first, so that
    // the keyboard's own settings then win over the file's.
    if (LastEventUsage() == device::kUsageProfileChanged) {
        if (auto* panel = PanelOf<IProfilePanel>(ProfilePanelControl())) {
            panel->ReloadProfileList();
            SetProfileFileName(panel->GetSelectedUUID());
        }
        LoadProfile();
    }
    ReadSettingsFromDevice([this] { RefreshPanels(); });
}

void CLumitrekKeyboardDevice::PollPowerStatus() {
    PollStatusBlock();
}

// ---- profile

int CLumitrekKeyboardDevice::LoadProfile() {
    UpdateProfilePaths();
    profile_.LoadSection(GetProfilePath());
    ReportProfileLoad();
    keyList_ = profile_.GetKeyList();
    ApplyLightSetting();
    const auto stages = profile_.GetSystemStages();
    systemStages_.words = stages;
    return 1;
}

void CLumitrekKeyboardDevice::ResetToDefaults() {
    profile_.LoadSection(GetDefaultProfilePath());
    keyList_ = profile_.GetKeyList();
    ApplyLightSetting();
    systemStages_.words = profile_.GetSystemStages();
    SaveProfile();
    RefreshPanels();
}

int CLumitrekKeyboardDevice::ApplyLightSetting() {
    ApplyProfileLighting();
    return 1;
}

void CLumitrekKeyboardDevice::SetKeyList(const std::vector<KeyMapping>& keys) {
    keyList_ = keys;
    profile_.SetKeyList(keyList_);
}

void CLumitrekKeyboardDevice::SetSelectedKeyMapping(const KeyMapping& mapping) {
    const int selected = GetSelectedKey();
    if (selected < 0 || selected >= static_cast<int>(keyList_.size())) return;
    keyList_[selected] = mapping;
    profile_.SetKeyList(keyList_);
}

void CLumitrekKeyboardDevice::SetSelectedKeyMapping(uint32_t w0, uint32_t w1, uint32_t w2) {
    const auto byte = [](uint32_t word, int i) { return static_cast<uint8_t>(word >> (8 * i)); };
    KeyMapping mapping;
    mapping.current = HalfFrom(static_cast<uint16_t>(w0), byte(w0, 2), byte(w0, 3), byte(w1, 0));
    mapping.defaults =
        HalfFrom(static_cast<uint16_t>(w1 >> 16), byte(w2, 0), byte(w2, 1), byte(w2, 2));
    SetSelectedKeyMapping(mapping);
}

void CLumitrekKeyboardDevice::SetSystemStages(uint32_t w0, uint32_t w1, uint32_t w2) {
    systemStages_.words = {w0, w1, w2};
    profile_.SetSystemStages(w0, w1, w2);
}

// ---- writes

KeyboardSettingsBlock::Bytes CLumitrekKeyboardDevice::ProfileSettingsBlock() {
    SystemStages stages;
    stages.words = profile_.GetSystemStages();
    return KeyboardSettingsBlock::Encode(0, profile_.GetLightInfo(), stages);
}

bool CLumitrekKeyboardDevice::EncodeSettings(int byte0, std::vector<uint8_t>& block,
                                             unsigned& stride) {
    KeyboardSettingsBlock::Bytes bytes = ProfileSettingsBlock();
    bytes[0] = static_cast<uint8_t>(byte0);
    block.assign(bytes.begin(), bytes.end());
    stride = KeyboardSettingsBlock::kStride;
    return true;
}

std::vector<int> CLumitrekKeyboardDevice::GetUsedMacros() {
    return KeyTableBuilder::UsedMacros(keyList_, GetPositionMaps(), LibraryMacroCount());
}

void CLumitrekKeyboardDevice::ApplyKeys(ApplyDone done) {
    keyApply_.Queue(keyList_, {}, std::move(done));
}

void CLumitrekKeyboardDevice::ApplyProfile(ApplyDone done) {
    std::vector<uint8_t> settings;
    unsigned stride = 0;
    EncodeSettings(0, settings, stride);
    const std::uint64_t ticket = Owed().Queued();
    // Completions never outlive the worker, a member of this object.
    keyApply_.Queue(keyList_, std::move(settings),
                    [this, ticket, done = std::move(done)](const Completion<ApplyOutcome>& c) {
                        Owed().Ended(ticket, !c.cancelled &&
                                                 c.value.settings == device::kResultSuccess);
                        if (done) done(c);
                    });
}

void CLumitrekKeyboardDevice::ValidateMacroKeys() {
    LoadLightNameLists();
    const bool changed = KeyApply::RepairMacroKeys(keyList_, static_cast<int>(MacroNames().size()));
    if (changed) SetKeyList(keyList_);
    LoadLightNameLists();
    if (changed) RefreshKeyLabels();
}

// ---- panels

void CLumitrekKeyboardDevice::LoadLightNameLists() {
    LoadNameLists(MacroListFile::kFileName);
}

std::span<const KeyEntry> CLumitrekKeyboardDevice::FactoryKeys() const {
    return FactoryKeyTable::Entries();
}

void CLumitrekKeyboardDevice::RefreshKeyLabels() {
    if (auto* panel = PanelOf<IKeySetPanel>(keySetPanel_)) panel->RefreshKeyLabels();
}

void CLumitrekKeyboardDevice::RefreshPanels() {
    LoadLightNameLists();
    ShowLightingInPanel();
    ShowKeyInPanel(keySetPanel_, keyList_, GetSelectedKey(), false);
    systemControls_.Show(systemStages_);
}

void CLumitrekKeyboardDevice::BindKeyboardButtons() {
    if (GetPageLayout().empty()) {
        CLumitrekUSBDevice::BindKeyButtons();
        return;
    }
    ui::CControlUI* buttons = FindInPage(kKeyboardButtonContainer);
    if (auto* container =
            buttons ? static_cast<ui::CContainerUI*>(buttons->GetInterface("Container")) : nullptr)
        BindButtonsIn(*container);

    LoadLightNameLists();
    BindProfileAndLightingPanels();
    BindMacroAndKeyPanels(macroPanel_, keySetPanel_);
}

void CLumitrekKeyboardDevice::ShowFunctionPage(int page) {
    CLumitrekUSBDevice::ShowFunctionPage(page);
    if (kFnKeyPosition >= static_cast<int>(KeyButtons().size())) return;
    ui::CControlUI* fnKey = KeyButtons()[kFnKeyPosition];
    if (!fnKey) return;
    if (page == 1) fnKey->SetEnabled(true);
    if (page == 2) fnKey->SetEnabled(false);
}

void CLumitrekKeyboardDevice::SelectKey(int position) {
    CLumitrekUSBDevice::SelectKey(position);
    ShowKeyInPanel(keySetPanel_, keyList_, position, true);
}

// ---- custom colours

int CLumitrekKeyboardDevice::LightPanelGroup() {
    auto* lighting = PanelOf<ILightingPanel>(LightPanelControl());
    return lighting ? lighting->GetCustomGroup() : -1;
}

void CLumitrekKeyboardDevice::StoreCustomColours(int group) {
    std::vector<CustomColour> colours;
    const int count = GetLedCount();
    colours.reserve(count);
    for (int led = 0; led < count; ++led) {
        const auto colour = lighting::Rgba::FromWord(GetLedColour(led));
        colours.push_back({colour.red, colour.green, colour.blue, colour.alpha});
    }
    profile_.SetCustomColours(colours, group);
    SaveProfile();
}

int CLumitrekKeyboardDevice::SendColourPage(bool levelled) {
    if (Channel().LongTimeLimit()) return device::kResultSuccess;
    const ColourStream::Page page =
        ColourStream::Build(engine_.State().colours, GetPositionMaps(), KeySlots(), levelled);
    return Commands().StreamColours(
        std::span(page.bytes.data(), page.length),
        KeyboardSettingsBlock::ColourPage(GetCurrentLightSetting().customGroup),
        static_cast<int>(ColourStream::kPageSize));
}

void CLumitrekKeyboardDevice::QueueColourPage(bool levelled) {
    if (Channel().LongTimeLimit()) return;
    const ColourStream::Page page =
        ColourStream::Build(engine_.State().colours, GetPositionMaps(), KeySlots(), levelled);
    const int group = KeyboardSettingsBlock::ColourPage(GetCurrentLightSetting().customGroup);
    // A page is a picture of the colours: only the newest of a group is worth sending.
    Queue<int>("colours@" + std::to_string(group), [page, group](DeviceWorker::Session& session) {
        const int result =
            session.commands.StreamColours(std::span(page.bytes.data(), page.length), group,
                                           static_cast<int>(ColourStream::kPageSize));
        // Back off a device that refused the page, as the light thread does.
        if (result != device::kResultSuccess && session.Current())
            session.stop.Wait(kStreamFailurePauseMs);
        return result;
    });
}

void CLumitrekKeyboardDevice::SetCustomLedColour(int position) {
    const LightSetting current = GetCurrentLightSetting();
    if (current.mode != kCustomColourMode || position < 0 || position >= GetLedCount()) return;
    engine_.Effects().SetLedRgb(position, {current.red, current.green, current.blue});
    const int group = LightPanelGroup();
    if (group < 0) return;
    StoreCustomColours(group);
    QueueColourPage(false);
}

void CLumitrekKeyboardDevice::SetCustomLedColours(const std::vector<int>& positions) {
    const LightSetting current = GetCurrentLightSetting();
    if (current.mode != kCustomColourMode) return;
    bool changed = false;
    for (int position : positions) {
        if (position < 0 || position >= GetLedCount()) continue;
        engine_.Effects().SetLedRgb(position, {current.red, current.green, current.blue});
        changed = true;
    }
    const int group = LightPanelGroup();
    if (!changed || group < 0) return;
    StoreCustomColours(group);
    QueueColourPage(false);
}

void CLumitrekKeyboardDevice::StreamCustomColours() {
    const int result = SendColourPage(true);
    // Back off a device that refused the page; a closed channel sent nothing to back
    // off from, and a stopping light thread does not wait.
    if (result != device::kResultSuccess && IsConnected())
        LightStopEvent().Wait(kStreamFailurePauseMs);
}

void CLumitrekKeyboardDevice::SelectCustomGroup(int group) {
    if (auto* lighting = PanelOf<ILightingPanel>(LightPanelControl()))
        lighting->SelectCustomGroup(group);
    profile_.SetCustomGroupIndex(group);
}

void CLumitrekKeyboardDevice::LoadCustomColours() {
    const int group = profile_.GetCustomGroupIndex();
    const std::vector<CustomColour> colours = profile_.GetCustomColours(group, GetLedCount());
    for (int led = 0; led < static_cast<int>(colours.size()); ++led) {
        const CustomColour& c = colours[led];
        SetLedColour(led, lighting::Rgba(c.red, c.green, c.blue, c.alpha).ToWord());
    }
    if (auto* lighting = PanelOf<ILightingPanel>(LightPanelControl()))
        lighting->SelectCustomGroup(group);
    QueueColourPage(true);
}

void CLumitrekKeyboardDevice::FillCustomColours(bool on) {
    const LightSetting current = GetCurrentLightSetting();
    const lighting::Rgb fill =
        on ? lighting::Rgb{current.red, current.green, current.blue} : lighting::Rgb{};
    for (int led = 0; led < GetLedCount(); ++led) engine_.Effects().SetLedRgb(led, fill);
    QueueColourPage(true);
    if (const int group = LightPanelGroup(); group >= 0) StoreCustomColours(group);
}

// ---- listener

void CLumitrekKeyboardDevice::OnKeyEvent(int keySlot, int action) {
    engine_.Effects().OnKeyEvent(keySlot, action);
}

}  // namespace model
