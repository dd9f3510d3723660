// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lit mouse pad's device object and page: 15 LEDs and no keys. It keeps its settings
// block in step with the current profile, writes it on request, runs the lighting
// engine for the preview and an input listener for the pad's own settings changes.
// The settings copy belongs to the UI thread; the worker only reads and writes bytes.
// The headset keeps its lighting and settings block the same way and builds on this.
#include <memory>

#include "data/CBasicProfiledata.h"
#include "model/device/CLumitrekUSBDevice.h"
#include "model/device/DeviceLightingHost.h"
#include "model/device/PadSettingsBlock.h"
#include "model/lighting/LightEngine.h"

namespace model {

class CLumitrekMousePadDevice : public CLumitrekUSBDevice {
public:
    // Sent to the owner window with the active index after a settings read.
    static constexpr unsigned kSettingsReadMessage = 0xD00;

    explicit CLumitrekMousePadDevice(std::shared_ptr<device::HidBackend> backend = nullptr);
    ~CLumitrekMousePadDevice() override;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    void BindKeyButtons() override { BindPadButtons(); }
    int ApplyLightSetting() override;
    void OnConnected() override;
    // Reads the active settings block into the settings copy. A block that cannot be
    // read (closed channel, failed read) leaves the copy as it was.
    void OnSyncRequest() override;
    void PollPowerStatus() override { PollStatusBlock(); }
    int LoadProfile() override;
    void RefreshPanels() override;
    void ResetToDefaults() override;
    void LoadLightNameLists() override;

    virtual void BindPadButtons();

    const PadSettingsBlock& Settings() const { return settings_; }
    CBasicProfiledata& Profile() { return *profile_; }
    lighting::MousePadLightEngine& Engine() { return engine_; }

protected:
    // A kind laid out like the pad: its profile object, kind code, type name, index in
    // the light-list files and the container of its LED buttons.
    CLumitrekMousePadDevice(std::shared_ptr<device::HidBackend> backend,
                            std::unique_ptr<CBasicProfiledata> profile, int kind,
                            const char* typeName, int lightListIndex, const char* buttonContainer);

    void RunLightThread(platform::Event& stop) override { engine_.RunThread(stop); }
    // The settings copy, written at the profile index's block.
    bool EncodeSettings(int byte0, std::vector<uint8_t>& block, unsigned& stride) override;

private:
    PadSettingsBlock settings_;
    std::unique_ptr<CBasicProfiledata> profile_;
    const char* buttonContainer_;
    DeviceLightingHost<lighting::ILightingHost> lightingHost_{*this};
    lighting::MousePadLightEngine engine_{lightingHost_};
};

}  // namespace model
