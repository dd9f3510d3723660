// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The USB headset's device object and page: 13 host-driven LEDs and no keys. Its lighting
// and settings block are kept as the mouse pad keeps its own; in addition every preview
// frame goes to the headset as twelve LED output reports, and the voice and voice-changer
// panels drive the headset's audio functions through the audio bridge.
//
// Threads: as the pad. The LED reports go out on the device's worker; the audio calls
// run on the audio bridge's thread. Their completions, and all state here, belong to the
// UI thread.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/CZo6533Profiledata.h"
#include "model/audio/AudioBridge.h"
#include "model/audio/HeadsetAudio.h"
#include "model/device/CLumitrekMousePadDevice.h"

namespace model {

class IMagicPanel;
class ISurroundPanel;
class IVoicePanel;

class CLumitrekZO6533Device : public CLumitrekMousePadDevice {
public:
    static constexpr unsigned kPowerMessage = 0xD01;
    static constexpr int kUserPreset = CZo6533Profiledata::kUserPreset;
    static constexpr int kMaxUserPresets = 20;

    // The eight settings, in the order of the profile's "SystemSetStages".
    struct Settings {
        int magicEnable = 0;
        int magicType = 0;
        int eqType = 0;
        int customEqIndex = 0;
        int micInSelect = 0;
        int micInValue = 0;
        int micMonitorSelect = 0;
        int micMonitorValue = 0;
        std::array<int32_t, 8> Words() const;
        static Settings From(const std::array<int32_t, 8>& words);
    };

    // A null bridge means AudioBridge::Shared().
    explicit CLumitrekZO6533Device(std::shared_ptr<device::HidBackend> backend = nullptr,
                                   std::shared_ptr<AudioBridge> bridge = nullptr);
    ~CLumitrekZO6533Device() override;

    static CLumitrekZO6533Device* Of(CLumitrekUSBDevice* device);

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    void BindKeyButtons() override;
    void RefreshKeyPreview() override;
    void OnConnected() override;
    // As the pad's; the owner window hears the active index even with the headset away.
    void OnSyncRequest() override;
    void PollPowerStatus() override { PollStatusBlock(kPowerMessage, true); }
    int LoadProfile() override;
    void RefreshPanels() override;
    // The defaults' section, with the user's own equaliser presets kept.
    void ResetToDefaults() override;
    bool HostDrivesLeds() const override { return true; }

    // Told the texts the audio library's start-up has for the user ("ConfLibInit called
    // failed!", "UpdateAPOAvailable failed!").
    using AudioNotice = std::function<void(std::string_view text)>;
    void SetAudioNoticeHandler(AudioNotice handler) { audioNotice_ = std::move(handler); }

    // ---- panel operations (UI thread). The audio writes complete later; what they
    // change is saved once the library took it.
    void SetMicLevel() { ChangeLevel(false); }
    void ToggleMicMute() { ToggleMute(false); }
    void SetMonitorLevel() { ChangeLevel(true); }
    void ToggleMonitorMute() { ToggleMute(true); }
    void SelectEqPreset(int preset);
    void SetEqBand(int band);
    void SelectUserEqPreset();
    // 1 saved, 0 the name is taken (letter case aside), -1 not saved.
    int SaveUserEqPreset();
    void DeleteUserEqPreset();
    void ToggleVoiceChanger();
    void SelectVoice(int voice);
    // The surround page's switch to the library; kept in the profile once the library took
    // it, and shown as it was when the library refused, is missing or has stopped answering.
    void ToggleVirtualSurround();

    const Settings& HeadsetSettings() const { return settings_; }
    const std::vector<int32_t>& Bands() const { return bands_; }
    const std::vector<std::string>& UserPresetNames() const { return presetNames_; }
    bool MicMuted() const { return micMuted_; }
    bool MonitorMuted() const { return monitorMuted_; }
    bool VirtualSurround() const { return surround_; }
    CZo6533Profiledata& HeadsetProfile() { return *headsetProfile_; }
    AudioBridge& Bridge() { return *bridge_; }
    // No audio job of this device waits or runs.
    bool AudioIdle() const { return audioPending_ == 0; }
    // LED frames handed to the worker, and those that reached the headset whole.
    uint64_t LedFramesQueued() const { return framesQueued_; }

    // Preset 1-12's bands as the headset's equaliser knows them.
    static headset_audio::Bands BuiltInPreset(int preset);

private:
    IVoicePanel* Voice();
    IMagicPanel* Magic();
    ISurroundPanel* Surround();
    // Settings into the profile, then the profile file.
    void SaveSettings();
    void TakeAudioState(const headset_audio::AudioState& state);
    void ShowBands(const std::vector<int32_t>& bands);
    // Runs `work` on the audio bridge; `done` here, only while this device lives.
    template <class R>
    void Audio(std::function<R(AudioBridge::Session&)> work,
               std::function<void(const R&, bool ran)> done);
    void InitAudioBridge();
    // The microphone's (monitor = false) or the monitor's level, from its slider.
    void ChangeLevel(bool monitor);
    // Mutes or unmutes at once; kept in the profile once the library took it.
    void ToggleMute(bool monitor);
    void ReadAudioStateLater();
    // The profile's surround switch becomes the device's, and the library's when it may
    // hold another.
    void TakeStoredSurround();
    void ShowSurround();

    CZo6533Profiledata* headsetProfile_;
    std::shared_ptr<AudioBridge> bridge_;
    Settings settings_;
    std::vector<int32_t> bands_ = std::vector<int32_t>(headset_audio::kBandCount, 0);
    std::vector<std::string> presetNames_;
    bool micMuted_ = false;
    bool monitorMuted_ = false;
    bool surround_ = false;
    // What the library was last told; unknown until then (its start-up default is off).
    std::optional<bool> surroundInLibrary_;
    IVoicePanel* voicePanel_ = nullptr;
    IMagicPanel* magicPanel_ = nullptr;
    ISurroundPanel* surroundPanel_ = nullptr;
    AudioNotice audioNotice_;
    int audioPending_ = 0;
    uint64_t framesQueued_ = 0;
    std::shared_ptr<CLumitrekZO6533Device*> alive_;
};

}  // namespace model
