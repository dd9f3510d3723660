// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The gaming mouse's device object and page: 6 LEDs, 7 key buttons on its picture and ten
// key positions in its key table. It keeps the settings block, the five DPI stages, the
// pointer settings (stored only), the key list, macros and recoil patterns in step with
// the current profile, writes them on request, and runs the lighting engine and the input
// listener. A mouse behind a receiver (kind 6) waits the long time limit and queries its
// link before every command (the channel does it; see CommandSet).
//
// Threads as for the keyboard (see CLumitrekUSBDevice): the profile, key list, settings
// copy and the page's controls belong to the UI thread; the key table as read from the
// mouse belongs to the worker, which publishes copies under keyTableLock_.
#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "data/CMouseProfiledata.h"
#include "data/DpiStage.h"
#include "data/KeyMapping.h"
#include "model/device/CLumitrekUSBDevice.h"
#include "model/device/DeviceLightingHost.h"
#include "model/device/IKeyListOwner.h"
#include "model/device/KeyApply.h"
#include "model/device/MouseSettingsBlock.h"
#include "model/device/MouseSettingsControls.h"
#include "model/lighting/LightEngine.h"

namespace model {

class CLumitrekMouseDevice : public CLumitrekUSBDevice,
                             public IKeyListOwner,
                             private IKeyTableSource {
public:
    static constexpr std::size_t kTableBytes = 512;
    static constexpr int kKeyPositions = 10;
    // Sent to the owner window with the active index after a settings read.
    static constexpr unsigned kSettingsReadMessage = 0xD01;
    // What a recoil write can end in besides a result code: a pattern file that is no
    // pattern (nothing sent).
    static constexpr int kRecoilRefused = -300;
    // More "light_0_" buttons than a page could hold are a page written wrong.
    static constexpr int kMaxSecondLeds = 64;

    explicit CLumitrekMouseDevice(std::shared_ptr<device::HidBackend> backend = nullptr);
    ~CLumitrekMouseDevice() override;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    // The device as a mouse; null for another kind (or no device).
    static CLumitrekMouseDevice* Of(CLumitrekUSBDevice* device) {
        return device
                   ? static_cast<CLumitrekMouseDevice*>(device->GetInterface("LumitrekMouseDevice"))
                   : nullptr;
    }

    // ---- overrides
    void BindKeyButtons() override;
    int ApplyLightSetting() override;
    void RefreshKeyPreview() override;
    void OnConnected() override;
    // Reads the active settings block: the lighting and the active DPI stage follow it;
    // the stages themselves and the direction stay as the profile has them.
    void OnSyncRequest() override;
    int LoadProfile() override;
    void RefreshPanels() override;
    void ValidateMacroKeys() override;
    void ResetToDefaults() override;
    std::vector<int> GetUsedMacros() override;
    // As the keyboard's: the macros the keys play, then the key table, written only over
    // a table this connection read in full (read again first when it was not).
    void ApplyKeys(ApplyDone done) override;
    void ApplyProfile(ApplyDone done) override;
    void LoadLightNameLists() override;
    void ShowFunctionPage(int page) override;
    void SelectKey(int position) override;

    // ---- key list (one mapping per key position 0-9)
    std::vector<KeyMapping> GetKeyList() const override { return keyList_; }
    void SetKeyList(const std::vector<KeyMapping>& keys) override;
    void SetSelectedKeyMapping(const KeyMapping& mapping) override;
    // The picture's labels follow the key list.
    void RefreshKeyLabels() override;
    std::span<const KeyEntry> FactoryKeys() const override;

    // ---- DPI stages and system words, in the profile (not saved, nothing sent)
    std::vector<DpiStage> GetDpiStages() const { return dpiStages_; }
    // Stage n's enabled flag or X resolution (in DPI steps; Y follows unless the stage
    // keeps them apart); the list grows to n + 1 stages when shorter.
    void SetDpiStageEnabled(int n, bool on);
    void SetDpiStageSteps(int n, int steps);
    int GetActiveDpiStage() { return profile_.GetActiveDpiStage(); }
    std::array<uint32_t, 3> GetSystemWords() const { return systemWords_; }
    void SetSystemWords(const std::array<uint32_t, 3>& words);

    // ---- writes
    // The settings block goes out with this screen size (bytes 60-63); until one is set,
    // with the size of the desktop's screen as the window library knows it.
    void SetScreenSize(int width, int height);
    // The four recoil patterns of the user folder as one image into the recoil memory.
    // The completion carries the result code, or kRecoilRefused when a pattern file is no
    // pattern (then nothing is sent).
    void WriteRecoilPatterns(WriteDone done);

    // ---- state as read from the mouse (copies; any thread)
    std::array<uint8_t, kTableBytes> KeyTable() const override;
    bool TablesRead() const;
    const MouseSettingsBlock& Settings() const { return settings_; }
    CMouseProfiledata& Profile() { return profile_; }
    MouseSettingsControls& Controls() { return controls_; }
    const std::vector<ui::CControlUI*>& SecondLedButtons() const { return secondLeds_; }
    lighting::MouseLightEngine& Engine() { return engine_; }

protected:
    void RunLightThread(platform::Event& stop) override { engine_.RunThread(stop); }
    bool EncodeSettings(int byte0, std::vector<uint8_t>& block, unsigned& stride) override;

private:
    // The logo's tip names the lighting in force: the mode's name or the light program's.
    void ShowLogoTip();
    // A mouse behind a receiver takes its lighting speed as 4 - speed, and gives it back so.
    bool InvertsSpeed() const;
    struct SettingsRead {
        uint8_t index = 0;
        MouseSettingsBlock::ReadBytes block{};
    };

    // ---- worker thread
    // The information block and the key table, then the position map (see MouseKeyTable);
    // kept as they were when the channel is closed or a read fails.
    bool ReadTablesOn(device::CommandSet& commands) override;
    bool TablesReadOn(uint64_t connection) const override;

    // ---- UI thread
    void ApplySettingsRead(const SettingsRead& read);
    void ShowDpiRange();
    // The "light_0_" buttons and the logo of the picture's container.
    void BindSecondPictureIn(ui::CContainerUI& container);
    void ShowSettingsInControls();

    mutable std::mutex keyTableLock_;
    std::array<uint8_t, kTableBytes> keyTable_{};
    uint64_t tablesConnection_ = 0;

    MouseSettingsBlock settings_;
    std::vector<KeyMapping> keyList_;
    std::vector<DpiStage> dpiStages_;
    std::array<uint32_t, 3> systemWords_{};
    int screenWidth_ = 0;  // 0: the desktop's
    int screenHeight_ = 0;
    CMouseProfiledata profile_;
    ui::CControlUI* keySetPanel_ = nullptr;
    ui::CControlUI* macroPanel_ = nullptr;
    ui::CControlUI* shootPanel_ = nullptr;
    // The page's "light_0_" buttons: a second picture of LEDs 0... (the mouse from another
    // side), painted like the ordinary LED buttons.
    std::vector<ui::CControlUI*> secondLeds_;
    ui::CControlUI* logo_ = nullptr;
    int logoLed_ = -1;
    MouseSettingsControls controls_{*this};
    KeyApply keyApply_{*this, *this};
    DeviceLightingHost<lighting::ILightingHost> lightingHost_{*this};
    lighting::MouseLightEngine engine_{lightingHost_};
};

}  // namespace model
