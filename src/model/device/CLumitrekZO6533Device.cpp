// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/CLumitrekZO6533Device.h"

#include <algorithm>

#include "device/scanner/DeviceKind.h"
#include "model/device/HeadsetLedReports.h"
#include "model/device/IMagicPanel.h"
#include "model/device/ISurroundPanel.h"
#include "model/device/IVoicePanel.h"
#include "model/device/PanelLookup.h"
#include "platform/TextCompare.h"
#include "ui/CMessageLoop.h"

namespace model {

namespace {

constexpr const char* kHeadsetType = "HD";
constexpr int kHeadsetLightListIndex = 3;
constexpr const char* kHeadsetButtonContainer = "zo6533_device_key_light";
constexpr const char* kInitFailedText = "ConfLibInit called failed!";
constexpr const char* kFeaturesFailedText = "UpdateAPOAvailable failed!";

constexpr headset_audio::Bands kBuiltInPresets[12] = {
    {7, 11, 2, -3, -1, 4, 9, 12, 9, 5},   {7, 11, 6, -3, -11, -1, 6, 13, 6, 13},
    {10, 4, 0, -3, -4, -3, -2, -1, 0, 0}, {2, 1, -2, -3, -5, -7, 0, 4, 9, 8},
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},       {7, 14, -13, -6, -1, 8, 13, 7, 2, 6},
    {14, 10, 4, 0, -4, -3, -1, 1, 2, 3},  {2, 1, -2, -3, -5, -1, 7, 11, 15, 13},
    {8, 2, -4, -8, 1, 3, 8, 11, 14, 16},  {-3, 4, 10, 0, -11, 3, 9, 13, 6, 0},
    {18, 14, 8, 2, -3, -6, -1, 2, 5, 6},  {2, 1, -2, -4, -8, 4, 12, 16, 18, 15},
};

std::vector<int32_t> BandList(const headset_audio::Bands& bands) {
    return {bands.begin(), bands.end()};
}

headset_audio::Bands BandArray(const std::vector<int32_t>& list) {
    headset_audio::Bands bands{};
    for (std::size_t i = 0; i < bands.size() && i < list.size(); ++i) bands[i] = list[i];
    return bands;
}

}  // namespace

std::array<int32_t, 8> CLumitrekZO6533Device::Settings::Words() const {
    return {magicEnable, magicType,  eqType,           customEqIndex,
            micInSelect, micInValue, micMonitorSelect, micMonitorValue};
}

CLumitrekZO6533Device::Settings CLumitrekZO6533Device::Settings::From(
    const std::array<int32_t, 8>& w) {
    return {w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7]};
}

headset_audio::Bands CLumitrekZO6533Device::BuiltInPreset(int preset) {
    if (preset < 1 || preset > 12) return {};
    return kBuiltInPresets[preset - 1];
}

CLumitrekZO6533Device::CLumitrekZO6533Device(std::shared_ptr<device::HidBackend> backend,
                                             std::shared_ptr<AudioBridge> bridge)
    : CLumitrekMousePadDevice(std::move(backend), std::make_unique<CZo6533Profiledata>(),
                              device::kKindHeadset, kHeadsetType, kHeadsetLightListIndex,
                              kHeadsetButtonContainer),
      headsetProfile_(static_cast<CZo6533Profiledata*>(&Profile())),
      bridge_(bridge ? std::move(bridge) : AudioBridge::Shared()),
      alive_(std::make_shared<CLumitrekZO6533Device*>(this)) {}

CLumitrekZO6533Device::~CLumitrekZO6533Device() {
    alive_.reset();
    StopThreads();
}

CLumitrekZO6533Device* CLumitrekZO6533Device::Of(CLumitrekUSBDevice* device) {
    return device
               ? static_cast<CLumitrekZO6533Device*>(device->GetInterface("LumitrekZO6533Device"))
               : nullptr;
}

std::string CLumitrekZO6533Device::GetClass() const {
    return "LumitrekZO6533Device";
}

void* CLumitrekZO6533Device::GetInterface(std::string_view name) {
    if (name == "LumitrekZO6533Device") return this;
    // Built like a pad, but not one: the pad's handlers must pass it by.
    if (name == "LumitrekMousePadDevice") return nullptr;
    return CLumitrekMousePadDevice::GetInterface(name);
}

// ---- page and audio start-up

void CLumitrekZO6533Device::BindKeyButtons() {
    BindPadButtons();
    voicePanel_ = nullptr;
    magicPanel_ = nullptr;
    surroundPanel_ = nullptr;
    if (!GetPageLayout().empty()) InitAudioBridge();
}

IVoicePanel* CLumitrekZO6533Device::Voice() {
    if (!voicePanel_) voicePanel_ = PanelOf<IVoicePanel>(FindInPage(IVoicePanel::kControlName));
    return voicePanel_;
}

IMagicPanel* CLumitrekZO6533Device::Magic() {
    if (!magicPanel_) magicPanel_ = PanelOf<IMagicPanel>(FindInPage(IMagicPanel::kControlName));
    return magicPanel_;
}

ISurroundPanel* CLumitrekZO6533Device::Surround() {
    if (!surroundPanel_)
        surroundPanel_ = PanelOf<ISurroundPanel>(FindInPage(ISurroundPanel::kControlName));
    return surroundPanel_;
}

template <class R>
void CLumitrekZO6533Device::Audio(std::function<R(AudioBridge::Session&)> work,
                                  std::function<void(const R&, bool ran)> done) {
    ui::CMessageLoop* loop = ui::CMessageLoop::Current();
    if (loop == nullptr) return;
    ++audioPending_;
    std::weak_ptr<CLumitrekZO6533Device*> alive = alive_;
    bridge_->Run<R>(loop, std::move(work),
                    [alive, done = std::move(done)](const R& result, bool ran) {
                        auto self = alive.lock();
                        if (!self) return;
                        --(*self)->audioPending_;
                        if (done) done(result, ran);
                    });
}

void CLumitrekZO6533Device::InitAudioBridge() {
    Audio<headset_audio::StartUp>(
        [](AudioBridge::Session& session) { return headset_audio::Initialise(session); },
        [this](const headset_audio::StartUp& start, bool ran) {
            if (!ran) return;  // no library: the panels keep the profile's values
            if (start.initFailed && audioNotice_) audioNotice_(kInitFailedText);
            if (start.featuresFailed && audioNotice_) audioNotice_(kFeaturesFailedText);
            TakeAudioState(start.state);
            RefreshPanels();
        });
}

void CLumitrekZO6533Device::ReadAudioStateLater() {
    Audio<headset_audio::AudioState>(
        [](AudioBridge::Session& session) { return headset_audio::ReadAudioState(session); },
        [this](const headset_audio::AudioState& state, bool ran) {
            if (!ran) return;
            TakeAudioState(state);
            RefreshPanels();
        });
}

void CLumitrekZO6533Device::TakeAudioState(const headset_audio::AudioState& state) {
    if (state.micMuted) {
        micMuted_ = *state.micMuted;
        settings_.micInSelect = micMuted_ ? 0 : 1;
    }
    if (state.micLevel) settings_.micInValue = *state.micLevel;
    if (state.monitorMuted) {
        monitorMuted_ = *state.monitorMuted;
        settings_.micMonitorSelect = monitorMuted_ ? 0 : 1;
    }
    if (state.monitorLevel) settings_.micMonitorValue = *state.monitorLevel;
    if (state.voiceChanger) settings_.magicEnable = *state.voiceChanger ? 1 : 0;
    if (state.voice) settings_.magicType = *state.voice;
}

// ---- profile and panels

void CLumitrekZO6533Device::OnConnected() {
    LoadProfile();
    ReadAudioStateLater();
    RefreshPanels();
    StartLightThread();
}

void CLumitrekZO6533Device::OnSyncRequest() {
    if (IsConnected()) {
        CLumitrekMousePadDevice::OnSyncRequest();
        return;
    }
    Channel().SetSyncFlag(0);
    const uint8_t lastKnown = CLumitrekMousePadDevice::Settings().Copy()[0];
    if (GetOwnerWindow() != 0)
        ui::CMessageLoop::PostMessage(GetOwnerWindow(), kSettingsReadMessage, lastKnown);
}

int CLumitrekZO6533Device::LoadProfile() {
    CLumitrekMousePadDevice::LoadProfile();
    settings_ = Settings::From(headsetProfile_->GetSystemSetStages());
    bands_ = settings_.eqType == kUserPreset
                 ? headsetProfile_->GetCustomEqBands(settings_.customEqIndex)
                 : headsetProfile_->GetEqBands(settings_.eqType);
    bands_.resize(headset_audio::kBandCount, 0);
    presetNames_ = headsetProfile_->GetCustomEqNames();
    TakeStoredSurround();
    return 1;
}

void CLumitrekZO6533Device::RefreshPanels() {
    CLumitrekMousePadDevice::RefreshPanels();
    ShowSurround();
    if (IMagicPanel* magic = Magic()) {
        magic->SetEnabled(settings_.magicEnable != 0);
        magic->SelectVoice(settings_.magicType);
    }
    if (IVoicePanel* voice = Voice()) {
        voice->SetMicEnabled(settings_.micInSelect != 0);
        voice->SetMicLevel(settings_.micInValue);
        voice->SetMonitorEnabled(settings_.micMonitorSelect != 0);
        voice->SetMonitorLevel(settings_.micMonitorValue);
        voice->SelectPreset(settings_.eqType);
        voice->SetUserPresetNames(presetNames_);
        voice->SelectUserPreset(settings_.customEqIndex < static_cast<int>(presetNames_.size())
                                    ? settings_.customEqIndex
                                    : -1);
        voice->ShowUserPresetLayout(settings_.eqType == kUserPreset);
        for (int band = 0; band < headset_audio::kBandCount; ++band)
            voice->SetBand(band, bands_[band]);
    }
}

void CLumitrekZO6533Device::ResetToDefaults() {
    // The user's own presets are theirs, not the factory's.
    const std::vector<std::string> names = headsetProfile_->GetCustomEqNames();
    std::vector<std::vector<int32_t>> bands;
    for (std::size_t k = 0; k < names.size(); ++k)
        bands.push_back(headsetProfile_->GetCustomEqBands(static_cast<int>(k)));
    headsetProfile_->LoadSection(GetDefaultProfilePath());
    ApplyLightSetting();
    headsetProfile_->SetCustomEqNames(names);
    for (std::size_t k = 0; k < bands.size(); ++k)
        headsetProfile_->SetCustomEqBands(static_cast<int>(k), bands[k]);
    settings_ = Settings::From(headsetProfile_->GetSystemSetStages());
    presetNames_ = names;
    TakeStoredSurround();
    SaveProfile();
    RefreshPanels();
}

void CLumitrekZO6533Device::SaveSettings() {
    headsetProfile_->SetSystemSetStages(settings_.Words());
    SaveProfile();
}

void CLumitrekZO6533Device::ShowBands(const std::vector<int32_t>& bands) {
    IVoicePanel* voice = Voice();
    for (int band = 0; band < headset_audio::kBandCount; ++band) {
        bands_[band] = band < static_cast<int>(bands.size()) ? bands[band] : 0;
        if (voice) voice->SetBand(band, bands_[band]);
    }
}

// ---- LED output

void CLumitrekZO6533Device::RefreshKeyPreview() {
    if (!IsPreviewEnabled()) return;
    CLumitrekMousePadDevice::RefreshKeyPreview();
    if (!IsConnected()) return;
    std::array<uint32_t, HeadsetLedReports::kLeds> colours{};
    for (int led = 0; led < HeadsetLedReports::kLeds; ++led) colours[led] = GetLedColour(led);
    const HeadsetLedReports::Frame frame = HeadsetLedReports::Make(colours);
    ++framesQueued_;
    // A frame still waiting is stale once the next one comes: the area coalesces them.
    Queue<bool>("led-reports", [frame](DeviceWorker::Session& session) {
        if (!session.Current()) return false;
        device::HidDevice& hid = session.commands.Channel().Device();
        bool accepted = false;
        for (const HeadsetLedReports::Report& report : frame)
            accepted = hid.SetOutputReport(report.data(), report.size());
        return accepted;
    });
}

// ---- microphone and monitor

void CLumitrekZO6533Device::ChangeLevel(bool monitor) {
    IVoicePanel* voice = Voice();
    const int level = !voice ? -1 : monitor ? voice->GetMonitorLevel() : voice->GetMicLevel();
    if (level < 0) return;
    Audio<bool>([monitor, level](
                    AudioBridge::Session& s) { return headset_audio::SetLevel(s, monitor, level); },
                [this, monitor, level](const bool& taken, bool ran) {
                    if (!ran || !taken) return;
                    (monitor ? settings_.micMonitorValue : settings_.micInValue) = level;
                    SaveSettings();
                });
}

void CLumitrekZO6533Device::ToggleMute(bool monitor) {
    bool& mutedNow = monitor ? monitorMuted_ : micMuted_;
    mutedNow = !mutedNow;
    const bool muted = mutedNow;
    if (IVoicePanel* voice = Voice()) {
        if (monitor)
            voice->SetMonitorEnabled(!muted);
        else
            voice->SetMicEnabled(!muted);
    }
    Audio<bool>([monitor, muted](
                    AudioBridge::Session& s) { return headset_audio::SetMute(s, monitor, muted); },
                [this, monitor, muted](const bool& taken, bool ran) {
                    if (!ran || !taken) return;
                    (monitor ? settings_.micMonitorSelect : settings_.micInSelect) = muted ? 0 : 1;
                    SaveSettings();
                });
}

// ---- equaliser

void CLumitrekZO6533Device::SelectEqPreset(int preset) {
    IVoicePanel* voice = Voice();
    if (preset == kUserPreset) {
        settings_.eqType = kUserPreset;
        if (voice) {
            voice->SelectPreset(kUserPreset);
            voice->ShowUserPresetLayout(true);
        }
        SelectUserEqPreset();
        // Kept even with no user preset picked yet, so that the choice survives a restart.
        SaveSettings();
        return;
    }
    if (preset < 1 || preset > 12) return;
    const headset_audio::Bands bands = BuiltInPreset(preset);
    ShowBands(BandList(bands));
    Audio<bool>(
        [bands](AudioBridge::Session& s) {
            headset_audio::WriteEqualiser(s, bands);
            return true;
        },
        {});
    settings_.eqType = preset;
    if (voice) {
        voice->SelectPreset(preset);
        voice->ShowUserPresetLayout(false);
    }
    headsetProfile_->SetSystemSetStages(settings_.Words());
    headsetProfile_->SetEqBands(preset, BandList(bands));
    SaveProfile();
}

void CLumitrekZO6533Device::SetEqBand(int band) {
    if (band < 0 || band >= headset_audio::kBandCount) return;
    IVoicePanel* voice = Voice();
    if (settings_.eqType != kUserPreset) {
        settings_.eqType = kUserPreset;
        if (voice) {
            voice->SelectPreset(kUserPreset);
            voice->SelectUserPreset(-1);
            voice->ShowUserPresetLayout(true);
        }
    }
    const int value = voice ? voice->GetBand(band) : -1;
    bands_[band] = value;
    Audio<bool>(
        [band, value](AudioBridge::Session& s) {
            headset_audio::WriteEqBand(s, band, value);
            return true;
        },
        {});
}

void CLumitrekZO6533Device::SelectUserEqPreset() {
    IVoicePanel* voice = Voice();
    const int k = voice ? voice->GetSelectedUserPreset() : -1;
    if (k < 0) return;
    const std::vector<int32_t> bands = headsetProfile_->GetCustomEqBands(k);
    ShowBands(bands);
    const headset_audio::Bands written = BandArray(bands_);
    Audio<bool>(
        [written](AudioBridge::Session& s) {
            headset_audio::WriteEqualiser(s, written);
            return true;
        },
        {});
    settings_.customEqIndex = k;
    SaveSettings();
}

int CLumitrekZO6533Device::SaveUserEqPreset() {
    IVoicePanel* voice = Voice();
    if (!voice) return -1;
    std::vector<int32_t> bands(headset_audio::kBandCount);
    for (int band = 0; band < headset_audio::kBandCount; ++band) bands[band] = voice->GetBand(band);
    const std::string name = voice->GetPresetNameText();
    if (name.empty()) {
        const int k = voice->GetSelectedUserPreset();
        if (k < 0) return -1;
        settings_.customEqIndex = k;
        headsetProfile_->SetSystemSetStages(settings_.Words());
        headsetProfile_->SetCustomEqBands(k, bands);
        SaveProfile();
        return 1;
    }
    if (presetNames_.size() >= kMaxUserPresets) return -1;
    for (const std::string& existing : presetNames_)
        if (platform::EqualsNoCase(existing, name)) return 0;
    voice->AddUserPresetName(name);
    presetNames_.push_back(name);
    const int index = static_cast<int>(presetNames_.size()) - 1;
    settings_.customEqIndex = index;
    voice->SelectUserPreset(index);
    headsetProfile_->SetSystemSetStages(settings_.Words());
    headsetProfile_->SetCustomEqBands(index, bands);
    headsetProfile_->SetCustomEqNames(presetNames_);
    SaveProfile();
    return 1;
}

void CLumitrekZO6533Device::DeleteUserEqPreset() {
    IVoicePanel* voice = Voice();
    const int k = voice ? voice->GetSelectedUserPreset() : -1;
    if (k < 0) return;
    voice->RemoveUserPreset(k);
    presetNames_ = voice->UserPresetNames();
    if (presetNames_.empty()) {
        settings_.eqType = 1;
        voice->SelectPreset(1);
        headsetProfile_->SetSystemSetStages(settings_.Words());
        ShowBands(headsetProfile_->GetEqBands(1));
        voice->ShowUserPresetLayout(false);
    } else {
        settings_.customEqIndex = 0;
        voice->SelectUserPreset(0);
        headsetProfile_->SetSystemSetStages(settings_.Words());
        ShowBands(headsetProfile_->GetCustomEqBands(0));
    }
    // The names close up; the band arrays of the presets behind stay where they were.
    headsetProfile_->SetCustomEqNames(presetNames_);
    SaveProfile();
}

// ---- voice changer

void CLumitrekZO6533Device::ToggleVoiceChanger() {
    IMagicPanel* magic = Magic();
    const bool on = magic && magic->IsEnabled();
    if (magic) magic->SetEnabled(on);
    Audio<bool>(
        [on](AudioBridge::Session& s) {
            headset_audio::SetVoiceChanger(s, on);
            return true;
        },
        {});
    settings_.magicEnable = on ? 1 : 0;
    SaveSettings();
}

void CLumitrekZO6533Device::SelectVoice(int voice) {
    if (voice < 1 || voice > 4) return;
    Audio<bool>(
        [voice](AudioBridge::Session& s) {
            headset_audio::SelectVoice(s, voice);
            return true;
        },
        {});
    settings_.magicType = voice;
    if (IMagicPanel* magic = Magic()) magic->SelectVoice(voice);
    SaveSettings();
}

// ---- virtual surround

void CLumitrekZO6533Device::ShowSurround() {
    if (ISurroundPanel* panel = Surround()) panel->SetSurround(surround_);
}

void CLumitrekZO6533Device::TakeStoredSurround() {
    surround_ = headsetProfile_->GetVirtualSurround();
    if (surround_ == surroundInLibrary_.value_or(false)) return;
    const bool on = surround_;
    Audio<bool>([on](AudioBridge::Session& s) { return headset_audio::SetVirtualSurround(s, on); },
                [this, on](const bool& taken, bool ran) {
                    if (ran && taken) surroundInLibrary_ = on;
                });
}

void CLumitrekZO6533Device::ToggleVirtualSurround() {
    ISurroundPanel* panel = Surround();
    if (panel == nullptr) return;
    const bool on = panel->IsSurroundOn();
    Audio<bool>([on](AudioBridge::Session& s) { return headset_audio::SetVirtualSurround(s, on); },
                [this, on](const bool& taken, bool ran) {
                    if (ran && taken) {
                        surroundInLibrary_ = on;
                        surround_ = on;
                        headsetProfile_->SetVirtualSurround(on);
                        SaveProfile();
                    }
                    // Refused, or no library to ask: the switch says what is in force.
                    ShowSurround();
                });
    // Without a message loop nothing can be asked, and nothing changes.
    if (ui::CMessageLoop::Current() == nullptr) ShowSurround();
}

}  // namespace model
