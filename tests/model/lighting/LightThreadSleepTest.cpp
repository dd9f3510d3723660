// SPDX-License-Identifier: GPL-3.0-or-later
// The light thread computes colours only for someone: the preview on screen, the streamed
// custom colours, or a still picture that a setting has just changed. Otherwise it sleeps
// without waking, and comes back drawing as soon as it is wanted again.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <functional>
#include <thread>

#include "support/Eventually.h"
#include "model/lighting/LightingTestRig.h"
#include "platform/WorkerThread.h"

namespace lighting::test {
namespace {

using test_support::Eventually;

using namespace std::chrono_literals;

// The engine of `Rig` run by its own thread, as a device runs it.
template <typename RigT>
class Running {
public:
    explicit Running(RigT& rig) : rig_(rig) {
        thread_.Start([this](platform::Event& stop) { rig_.engine.RunThread(stop); });
    }
    ~Running() { thread_.Stop(1000); }

    uint64_t Wakeups() const { return rig_.engine.Loop().Wakeups(); }
    uint64_t Sleeps() const { return rig_.engine.Loop().Sleeps(); }
    std::array<uint32_t, 16> Colours() const {
        std::array<uint32_t, 16> words{};
        for (int n = 0; n < 16; ++n) words[n] = rig_.engine.State().colours.Get(n).ToWord();
        return words;
    }

private:
    RigT& rig_;
    platform::WorkerThread thread_;
};

TEST(LightThreadSleep, AHiddenPreviewStopsTheThreadAndShowingItBringsTheColoursBack) {
    KeyboardRig rig;
    rig.Apply(Setting(4, 5, 4));  // the colour cycle: every frame differs
    Running running(rig);
    ASSERT_TRUE(Eventually([&] { return running.Wakeups() > 5; }));

    rig.Fx().SetOnScreen(false);
    ASSERT_TRUE(Eventually([&] { return running.Sleeps() >= 1; }));
    const uint64_t asleep = running.Wakeups();
    const auto frozen = running.Colours();
    // Real time on purpose: a thread that sleeps shows no pass over a stretch of it.
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(running.Wakeups(), asleep);  // not one pass while nobody looks
    EXPECT_EQ(running.Colours(), frozen);

    rig.Fx().SetOnScreen(true);
    EXPECT_TRUE(Eventually([&] { return running.Colours() != frozen; }));
    EXPECT_GT(running.Wakeups(), asleep);
}

TEST(LightThreadSleep, CustomColoursKeepStreamingWhileThePreviewIsHidden) {
    KeyboardRig rig;
    rig.Apply(Setting(20, 5, 4));
    Running running(rig);
    rig.Fx().SetOnScreen(false);
    const int before = rig.host.streams;
    EXPECT_TRUE(Eventually([&] { return rig.host.streams > before + 3; }));
    EXPECT_EQ(running.Sleeps(), 0u);

    // Leaving the streamed mode while hidden lets the thread sleep.
    rig.Apply(Setting(4, 5, 4));
    EXPECT_TRUE(Eventually([&] { return running.Sleeps() >= 1; }));
}

TEST(LightThreadSleep, KeyReactionsWorkAfterAHideAndShow) {
    for (uint8_t mode : {7, 8, 9, 29}) {
        KeyboardRig rig;
        for (int led = 0; led < kLedSlots; ++led) rig.host.keyCodes[led] = led + 1;
        rig.Apply(Setting(mode, 5, 4));
        Running running(rig);
        rig.Fx().SetOnScreen(false);
        ASSERT_TRUE(Eventually([&] { return running.Sleeps() >= 1; }));
        // A key pressed while nobody looks has run its course by the time someone does.
        rig.Fx().OnKeyEvent(46, CKeyboardLightEffects::kPress);
        rig.Fx().OnKeyEvent(46, CKeyboardLightEffects::kRelease);
        const uint64_t hidden = running.Wakeups();
        rig.Fx().SetOnScreen(true);
        ASSERT_TRUE(Eventually([&] { return running.Wakeups() > hidden; }));

        rig.Fx().OnKeyEvent(46, CKeyboardLightEffects::kPress);
        const bool lit = Eventually([&] {
            for (int led = 0; led < kLedSlots; ++led)
                if (rig.Led(led).alpha > 0) return true;
            return false;
        });
        EXPECT_TRUE(lit) << "mode " << int(mode);
        rig.Fx().OnKeyEvent(46, CKeyboardLightEffects::kRelease);
    }
}

TEST(LightThreadSleep, AStillPictureSleepsUntilASettingChangesIt) {
    for (const bool pad : {false, true}) {
        KeyboardRig keyboard;
        PadRig padRig;
        auto check = [](auto& rig, uint8_t staticMode) {
            rig.Apply(Setting(staticMode, 5, 4, 0, false, {200, 0, 0}));
            Running running(rig);
            ASSERT_TRUE(Eventually([&] { return running.Sleeps() >= 1; }));
            EXPECT_EQ(rig.Led(3).Colour().red, 200);
            const uint64_t asleep = running.Wakeups();
            // Real time on purpose: a still picture shows no pass over a stretch of it.
            std::this_thread::sleep_for(200ms);
            EXPECT_EQ(running.Wakeups(), asleep);

            rig.Apply(Setting(staticMode, 5, 4, 0, false, {0, 0, 200}));
            EXPECT_TRUE(Eventually([&] { return rig.Led(3).Colour().blue == 200; }));
        };
        if (pad) check(padRig, 3);
        else check(keyboard, 6);
    }
}

TEST(LightThreadSleep, OnlyLightListEntriesThatChangeKeepTheThreadBusy) {
    KeyboardRig rig;
    rig.Apply(Setting(28, 5, 4));
    LightSetting still = Setting(1, 5, 4, 0, false, {9, 9, 9});
    still.present = 1;
    rig.Fx().LoadLightList({still});
    Running running(rig);
    EXPECT_TRUE(Eventually([&] { return running.Sleeps() >= 1; }));
    EXPECT_EQ(rig.Led(0).Colour().red, 9);  // the static entry is drawn over the dark keys

    LightSetting breathing = still;
    breathing.mode = 0;
    const uint64_t resting = running.Wakeups();
    rig.Fx().LoadLightList({breathing});
    EXPECT_TRUE(Eventually([&] { return running.Wakeups() > resting + 5; }));
}

}  // namespace
}  // namespace lighting::test
