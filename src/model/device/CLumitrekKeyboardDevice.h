#pragma once
// The keyboard's device object and page. It reads the keyboard's tables and settings
// when the keyboard connects, keeps them in step with the current profile, writes key
// assignments, macros and settings on request, streams per-key colours in the custom
// colour mode, runs the lighting engine and the input listener, and binds its page's key
// buttons and panels.
#include <array>
#include <cstdint>
#include <vector>

#include "data/CKeyboardProfiledata.h"
#include "data/KeyMapping.h"
#include "model/device/CLumitrekUSBDevice.h"
#include "model/device/KeyboardLightingHost.h"
#include "model/device/KeyboardSettingsBlock.h"
#include "model/device/KeyboardSystemControls.h"
#include "model/device/SystemStages.h"
#include "model/lighting/LightEngine.h"

namespace model {

class CLumitrekKeyboardDevice : public CLumitrekUSBDevice {
public:
    static constexpr uint8_t kCustomColourMode = 20;
    static constexpr std::size_t kTableBytes = 512;
    static constexpr int kStreamFailurePauseMs = 200;

    explicit CLumitrekKeyboardDevice(std::shared_ptr<device::HidBackend> backend = nullptr);
    ~CLumitrekKeyboardDevice() override;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // ---- overrides
    void BindKeyButtons() override { BindKeyboardButtons(); }
    int ApplyLightSetting() override;
    void OnConnected() override;
    void OnSyncRequest() override;
    void PollPowerStatus() override;
    int LoadProfile() override;
    void RefreshPanels() override;
    void ValidateMacroKeys() override;
    void ResetToDefaults() override;
    std::vector<int> GetUsedMacros() override;
    int WriteKeyAssignments(int tableIndex, const std::vector<KeyMapping>& keys) override;
    int WriteCurrentKeyAssignments(int tableIndex) override;
    int WriteMacros(const std::vector<int>& macros) override;
    // Writes the settings block at `profileIndex` from the profile; the rest is ignored.
    int WriteSettings(int profileIndex, int byte0, int a, int b, int c) override;
    void LoadLightNameLists() override;
    void ShowFunctionPage(int page) override;
    void SelectKey(int position) override;

    // ---- the keyboard's own operations
    virtual void BindKeyboardButtons();
    virtual void SelectCustomGroup(int group);
    virtual void LoadCustomColours();
    virtual void FillCustomColours(bool on);
    virtual void SetCustomLedColour(int position);

    // The information block, key table and LED map, then the position maps. Kept as they
    // were when the channel is closed or a read fails.
    void ReadDeviceTables();
    // The active settings block into the device's lighting state, the current lighting
    // and the profile's switches (saved). Returns the active profile index; when the
    // block could not be read nothing changes and the last known index is returned.
    int ReadSettingsFromDevice();
    // The apply order: the macros the keys play, then (unless the macros do not fit)
    // the key table. Returns what WriteMacros returned.
    int ApplyMacrosAndKeys();

    void SetKeyList(const std::vector<KeyMapping>& keys);
    std::vector<KeyMapping> GetKeyList() const { return keyList_; }
    // The selected key's mapping, in the device and in the profile (not saved).
    void SetSelectedKeyMapping(const KeyMapping& mapping);
    // The same from the 12-byte mapping as three little-endian words: position, type,
    // byte 1, byte 0 and a spare byte for the current half, then the default half.
    void SetSelectedKeyMapping(uint32_t w0, uint32_t w1, uint32_t w2);
    void SetSystemStages(uint32_t w0, uint32_t w1, uint32_t w2);
    std::array<uint32_t, 3> GetSystemStages() const { return systemStages_.words; }
    // The colour buffer, levelled, to the current colour page.
    void StreamCustomColours();

    // ---- state as read from the keyboard
    const std::array<uint8_t, kTableBytes>& KeyTable() const { return keyTable_; }
    const std::array<uint8_t, kTableBytes>& LedMapTable() const { return ledMapTable_; }
    DeviceLightState DeviceLight() const { return deviceLight_; }
    const KeyboardSettingsBlock::Bytes& SettingsBlock() const { return settingsBlock_; }
    int ActiveProfileIndex() const { return activeIndex_; }
    CKeyboardProfiledata& Profile() { return profile_; }
    lighting::KeyboardLightEngine& Engine() { return engine_; }
    KeyboardSystemControls& SystemControls() { return systemControls_; }

protected:
    device::ListenerKind KindOfListener() const override { return device::ListenerKind::Keyboard; }
    void RunLightThread(platform::Event& stop) override { engine_.RunThread(stop); }
    void OnKeyEvent(int keySlot, int action) override;

private:
    // Stores all colours of the buffer as group `group` of the profile, and saves.
    void StoreCustomColours(int group);
    // Sends a colour page unless the channel waits the long time limit; the result.
    int SendColourPage(bool levelled);
    int LightPanelGroup();
    // The library's macro count ("MacroInfo" entries; 0 without a readable list).
    int LibraryMacroCount() const;
    void RefreshKeyLabels();

    std::array<uint8_t, kTableBytes> keyTable_{};
    std::array<uint8_t, kTableBytes> ledMapTable_{};
    DeviceLightState deviceLight_;
    uint8_t activeIndex_ = 0;
    KeyboardSettingsBlock::Bytes settingsBlock_{};
    SystemStages systemStages_;
    std::vector<KeyMapping> keyList_;
    CKeyboardProfiledata profile_;
    ui::CControlUI* keySetPanel_ = nullptr;
    ui::CControlUI* macroPanel_ = nullptr;
    KeyboardSystemControls systemControls_{*this};
    KeyboardLightingHost lightingHost_{*this};
    lighting::KeyboardLightEngine engine_{lightingHost_};
};

}  // namespace model
