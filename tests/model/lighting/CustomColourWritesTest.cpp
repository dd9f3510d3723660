// SPDX-License-Identifier: GPL-3.0-or-later
// The user's custom colours against the mode-20 pass of the light thread, which rewrites
// every LED's level while the UI thread paints, fills and loads colours.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <thread>

#include "model/lighting/LightingTestRig.h"

namespace lighting::test {
namespace {

// Green and blue hold a round number, so a round must stay below 65536 to be told apart.
constexpr int kMaxRounds = 60000;

// A colour no other round uses: the LED in red, the round in green and blue.
Rgb ColourOf(int led, int round) {
    return {static_cast<uint8_t>(led), static_cast<uint8_t>(round),
            static_cast<uint8_t>(round >> 8)};
}

// Runs `light` over and over on a thread of its own while this thread runs `ui` for rounds
// 0, 1, ...: until both have run many times side by side, and never much over a second.
// Returns the passes of `light`.
template <typename Light, typename Ui>
int Contend(Light light, Ui ui) {
    std::atomic<bool> running{true};
    std::atomic<int> passes{0};
    std::thread thread([&] {
        while (running.load()) {
            light();
            passes.fetch_add(1);
        }
    });
    while (passes.load() < 10) std::this_thread::yield();
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < kMaxRounds; ++round) {
        const auto elapsed = std::chrono::steady_clock::now() - start;
        if (elapsed > std::chrono::milliseconds(1200)) break;
        if (elapsed > std::chrono::milliseconds(250) && passes.load() > 2000) break;
        ui(round);
    }
    running.store(false);
    thread.join();
    return passes.load();
}

TEST(CustomColourWrites, NoneIsLostToTheLevelPassOfTheLightThread) {
    KeyboardRig rig;
    rig.Apply(Setting(20, 3));
    rig.Fx().EffectCustomColours();
    const uint8_t level = rig.Led(0).alpha;
    ASSERT_EQ(level, 162);  // brightness 3, and unlike the 7 that the loads below write

    // Whole entries as a group load writes them, and colours alone as a key or a fill
    // paints them; between two rounds nothing but the light thread touches the buffer, so
    // each LED must still show the colour of its round.
    std::array<Rgb, kLedSlots> last{};
    int writes = 0;
    int lost = 0;
    const int passes = Contend([&] { rig.Fx().EffectCustomColours(); },
                               [&](int round) {
                                   for (int n = 0; n < kLedSlots; ++n) {
                                       last[n] = ColourOf(n, round);
                                       if (round % 2)
                                           rig.Fx().SetLedColour(n, Rgba(last[n], 7).ToWord());
                                       else
                                           rig.Fx().SetLedRgb(n, last[n]);
                                   }
                                   writes += kLedSlots;
                                   for (int n = 0; n < kLedSlots; ++n)
                                       lost += rig.Led(n).Colour() != last[n];
                               });

    EXPECT_EQ(lost, 0) << "of " << writes << " writes against " << passes << " passes";
    for (int n = 0; n < kLedSlots; ++n) EXPECT_EQ(rig.Led(n).Colour(), last[n]) << n;
    rig.Fx().EffectCustomColours();
    for (int n = 0; n < kLedSlots; ++n) EXPECT_EQ(rig.Led(n), Rgba(last[n], level)) << n;
}

TEST(CustomColourWrites, NoLevelIsLostToAColourPaintedMeanwhile) {
    ColourBuffer colours;
    std::array<uint8_t, kLedSlots> levels{};
    int lost = 0;
    int pass = 0;
    Contend(
        [&] {
            ++pass;
            for (int n = 0; n < kLedSlots; ++n) {
                levels[n] = static_cast<uint8_t>(pass + n);
                colours.SetAlpha(n, levels[n]);
            }
            for (int n = 0; n < kLedSlots; ++n) lost += colours.Get(n).alpha != levels[n];
        },
        [&](int round) {
            for (int n = 0; n < kLedSlots; ++n) colours.SetColour(n, ColourOf(n, round));
        });

    EXPECT_EQ(lost, 0) << "in " << pass << " passes";
}

}  // namespace
}  // namespace lighting::test
