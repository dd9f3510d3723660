// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard's device object and page. It reads the keyboard's tables and settings
// when the keyboard connects, keeps them in step with the current profile, writes key
// assignments, macros and settings on request, streams per-key colours in the custom
// colour mode, runs the lighting engine and the input listener, and binds its page's key
// buttons and panels.
//
// Threads (see CLumitrekUSBDevice): the key list, system settings, device lighting state,
// settings block and profile belong to the UI thread; the worker reads the settings and
// hands the bytes to the UI thread, which decodes them. The key table and LED map as read
// from the keyboard belong to the worker, which publishes copies under keyTablesLock_.
#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "data/CKeyboardProfiledata.h"
#include "data/KeyMapping.h"
#include "model/device/CLumitrekUSBDevice.h"
#include "model/device/IKeyListOwner.h"
#include "model/device/KeyApply.h"
#include "model/device/KeyboardLightingHost.h"
#include "model/device/KeyboardSettingsBlock.h"
#include "model/device/KeyboardSystemControls.h"
#include "model/device/SystemStages.h"
#include "model/lighting/LightEngine.h"

namespace model {

class CLumitrekKeyboardDevice : public CLumitrekUSBDevice,
                                public IKeyListOwner,
                                private IKeyTableSource {
public:
    static constexpr uint8_t kCustomColourMode = 20;
    static constexpr std::size_t kTableBytes = 512;
    static constexpr int kStreamFailurePauseMs = 200;

    explicit CLumitrekKeyboardDevice(std::shared_ptr<device::HidBackend> backend = nullptr);
    ~CLumitrekKeyboardDevice() override;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    // The device as a keyboard; null for another kind (or no device).
    static CLumitrekKeyboardDevice* Of(CLumitrekUSBDevice* device) {
        return device ? static_cast<CLumitrekKeyboardDevice*>(
                            device->GetInterface("LumitrekKeyboardDevice"))
                      : nullptr;
    }

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
    // The apply order on the device's key list as it is now: the macros its keys play,
    // then (unless they do not fit) the key table. The key table is written only over a
    // table this connection read in full; when it was not, it is read again first, and
    // when that fails nothing at all is written (ApplyOutcome::Keys::TableUnknown).
    void ApplyKeys(ApplyDone done) override;
    // The settings block from the profile, then the apply order.
    void ApplyProfile(ApplyDone done) override;
    void LoadLightNameLists() override;
    void ShowFunctionPage(int page) override;
    void SelectKey(int position) override;

    // ---- the keyboard's own operations
    virtual void BindKeyboardButtons();
    virtual void SelectCustomGroup(int group);
    virtual void LoadCustomColours();
    virtual void FillCustomColours(bool on);
    virtual void SetCustomLedColour(int position);
    // The LEDs at `positions` take the current colour, all at once: one save of the
    // group and one colour page, however many keys the user took in.
    void SetCustomLedColours(const std::vector<int>& positions);

    // Queues a read of the active settings block; when it comes, the block goes into
    // the device's lighting state, the current lighting and the profile's switches
    // (saved), and then `then` runs. When the block could not be read nothing changes.
    void ReadSettingsFromDevice(std::function<void()> then = {});

    void SetKeyList(const std::vector<KeyMapping>& keys) override;
    // The key picture's labels follow the key list (after the list or a name it shows
    // changed).
    void RefreshKeyLabels() override;
    std::span<const KeyEntry> FactoryKeys() const override;
    std::vector<KeyMapping> GetKeyList() const override { return keyList_; }
    // The selected key's mapping, in the device and in the profile (not saved).
    void SetSelectedKeyMapping(const KeyMapping& mapping) override;
    // The same from the 12-byte mapping as three little-endian words: position, type,
    // byte 1, byte 0 and a spare byte for the current half, then the default half.
    void SetSelectedKeyMapping(uint32_t w0, uint32_t w1, uint32_t w2);
    void SetSystemStages(uint32_t w0, uint32_t w1, uint32_t w2);
    std::array<uint32_t, 3> GetSystemStages() const { return systemStages_.words; }
    // Light thread: the colour buffer, levelled, to the current colour page.
    void StreamCustomColours();
    // UI thread: the same page (levelled, or the plain colours) queued on the worker.
    void QueueColourPage(bool levelled);

    // ---- state as read from the keyboard (copies; any thread)
    std::array<uint8_t, kTableBytes> KeyTable() const override;
    std::array<uint8_t, kTableBytes> LedMapTable() const;
    // This connection read the information block, the whole key table and the LED map.
    bool TablesRead() const;
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

    bool EncodeSettings(int byte0, std::vector<uint8_t>& block, unsigned& stride) override;

private:
    struct SettingsRead {
        uint8_t index = 0;
        KeyboardSettingsBlock::Bytes block{};
    };
    struct ConnectRead {
        bool tables = false;
        std::optional<SettingsRead> settings;
    };

    // ---- worker thread
    // The information block, key table and LED map, then the position maps; kept as they
    // were when the channel is closed or a read fails. True when all were read.
    bool ReadTablesOn(device::CommandSet& commands) override;
    static std::optional<SettingsRead> ReadSettingsOn(device::CommandSet& commands);
    bool TablesReadOn(uint64_t connection) const override;

    // ---- UI thread
    void ApplySettingsRead(const SettingsRead& read);
    // Settings block 0 as the profile has it now.
    KeyboardSettingsBlock::Bytes ProfileSettingsBlock();
    // Stores all colours of the buffer as group `group` of the profile, and saves.
    void StoreCustomColours(int group);
    // Sends a colour page unless the channel waits the long time limit; the result.
    int SendColourPage(bool levelled);
    int LightPanelGroup();

    mutable std::mutex keyTablesLock_;  // the worker writes the tables, any thread reads
    std::array<uint8_t, kTableBytes> keyTable_{};
    std::array<uint8_t, kTableBytes> ledMapTable_{};
    uint64_t tablesConnection_ = 0;  // the connection they were read in full on; 0: none
    DeviceLightState deviceLight_;
    uint8_t activeIndex_ = 0;
    KeyboardSettingsBlock::Bytes settingsBlock_{};
    SystemStages systemStages_;
    std::vector<KeyMapping> keyList_;
    CKeyboardProfiledata profile_;
    ui::CControlUI* keySetPanel_ = nullptr;
    ui::CControlUI* macroPanel_ = nullptr;
    KeyboardSystemControls systemControls_{*this};
    KeyApply keyApply_{*this, *this};
    KeyboardLightingHost lightingHost_{*this};
    lighting::KeyboardLightEngine engine_{lightingHost_};
};

}  // namespace model
