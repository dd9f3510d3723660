// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A device as the lighting engine sees it, with every answer settable by the test.
#include <array>
#include <atomic>
#include <mutex>

#include "model/lighting/IKeyPreviewSink.h"
#include "model/lighting/ILightingHost.h"
#include "model/lighting/LayoutTables.h"

namespace lighting::test {

class FakeLightingHost : public IKeyboardLightingHost {
public:
    explicit FakeLightingHost(int leds = kLedSlots) : ledCount(leds) { keyCodes.fill(-1); }

    bool IsCommandChannelOpen() const override { return open; }
    bool IsSynchronised() const override { return synchronised; }
    int LedCount() const override { return ledCount; }
    std::mutex& LightStepLock() override { return stepLock; }
    std::mutex& LightListLock() override { return listLock; }
    void StreamCustomColours() override { ++streams; }
    void LoadCustomColours() override { ++customLoads; }
    int KeyCodeOfLed(int led) const override {
        return led >= 0 && led < kLedSlots ? keyCodes[led] : -1;
    }

    std::atomic<bool> open{true};
    std::atomic<bool> synchronised{false};
    int ledCount;
    std::array<int, kLedSlots> keyCodes{};
    std::atomic<int> streams{0};
    int customLoads = 0;
    std::mutex stepLock;
    std::mutex listLock;
};

// Key buttons for LEDs below `buttons`, with LED `hidden` not visible.
class FakePreviewSink : public IKeyPreviewSink {
public:
    struct Shown {
        uint32_t word = 255;
        uint8_t alpha = 200;
        bool overlay = false;
    };

    explicit FakePreviewSink(int buttons, int hidden = -1) : buttons_(buttons), hidden_(hidden) {}
    bool HasVisibleKeyButton(int led) const override { return led < buttons_ && led != hidden_; }
    void ShowKeyLight(int led, uint32_t colourWord, uint8_t alpha) override {
        shown[led] = {colourWord, alpha, true};
    }

    std::array<Shown, kLedSlots> shown{};

private:
    int buttons_;
    int hidden_;
};

}  // namespace lighting::test
