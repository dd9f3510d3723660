// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/lighting/GoldenScenarios.h"

#include <functional>
#include <sstream>
#include <stdexcept>

#include "model/lighting/LightingTestRig.h"

namespace lighting::test {

namespace {

constexpr Rgb kGoldenUser{200, 100, 50};

template <typename RigT>
std::string Dump(const RigT& rig, int ledCount) {
    std::ostringstream out;
    out << "# led red green blue alpha\n";
    for (int n = 0; n < ledCount; ++n) {
        const Rgba c = rig.Led(n);
        out << n << ' ' << int(c.red) << ' ' << int(c.green) << ' ' << int(c.blue) << ' '
            << int(c.alpha) << '\n';
    }
    return out.str();
}

std::string Keyboard(const LightSetting& setting, int passes,
                     const std::function<void(KeyboardRig&)>& before = {}) {
    KeyboardRig rig;
    rig.Apply(setting);
    if (before) before(rig);
    rig.StartLoop(64);
    rig.RunTicks(passes);
    return Dump(rig, kLedSlots);
}

struct Entry {
    GoldenScenario scenario;
    std::function<std::string()> render;
};

const std::vector<Entry>& Entries() {
    static const std::vector<Entry> entries{
        {{"mode01_column_wave_multi",
          "keyboard mode 1, brightness 5, speed 4, direction 1, multi-colour; 10 passes one "
          "tick apart (10 steps)"},
         [] { return Keyboard(Setting(1, 5, 4, 1, true), 10); }},
        {{"mode01_column_wave_single",
          "keyboard mode 1, brightness 4, speed 4, direction 0, colour 200 100 50; 10 passes "
          "(10 steps)"},
         [] { return Keyboard(Setting(1, 4, 4, 0, false, kGoldenUser), 10); }},
        {{"mode03_snake_wave_single",
          "keyboard mode 3, brightness 5, speed 4, direction 1, colour 200 100 50; 7 passes "
          "(7 steps)"},
         [] { return Keyboard(Setting(3, 5, 4, 1, false, kGoldenUser), 7); }},
        {{"mode04_spectrum_backwards",
          "keyboard mode 4, brightness 3, speed 4, direction 0, multi-colour; 5 passes "
          "(5 steps: phase 187)"},
         [] { return Keyboard(Setting(4, 3, 4, 0, true), 5); }},
        {{"mode05_breathing_multi",
          "keyboard mode 5, brightness 5, speed 2 (threshold 3), direction 1, multi-colour; "
          "90 passes (30 steps: phase 30)"},
         [] { return Keyboard(Setting(5, 5, 2, 1, true), 90); }},
        {{"mode06_static_rainbow", "keyboard mode 6, brightness 5, speed 4, multi-colour; 1 pass"},
         [] { return Keyboard(Setting(6, 5, 4, 1, true), 1); }},
        {{"mode12_row_bands", "keyboard mode 12, brightness 2, speed 4, direction 1; 3 passes"},
         [] { return Keyboard(Setting(12, 2, 4, 1, true), 3); }},
        {{"mode14_light_show_single",
          "keyboard mode 14, brightness 5, speed 4, colour 200 100 50; 50 passes (50 steps)"},
         [] { return Keyboard(Setting(14, 5, 4, 1, false, kGoldenUser), 50); }},
        {{"mode16_bouncing_ripple_single",
          "keyboard mode 16, brightness 5, speed 4 (threshold 2), colour 200 100 50; 40 "
          "passes (20 steps)"},
         [] { return Keyboard(Setting(16, 5, 4, 1, false, kGoldenUser), 40); }},
        {{"mode18_diagonal_rainbow",
          "keyboard mode 18, brightness 5, speed 4, direction 1; 4 passes (phase 4)"},
         [] { return Keyboard(Setting(18, 5, 4, 1, true), 4); }},
        {{"mode25_sweep_multi",
          "keyboard mode 25, brightness 5, speed 4 (threshold 7), direction 1, multi-colour; "
          "140 passes (20 steps)"},
         [] { return Keyboard(Setting(25, 5, 4, 1, true), 140); }},
        {{"mode30_chase_single",
          "keyboard mode 30, brightness 5, speed 4 (threshold 7), direction 1, colour 200 "
          "100 50; 420 passes (60 steps)"},
         [] { return Keyboard(Setting(30, 5, 4, 1, false, kGoldenUser), 420); }},
        {{"mode08_ripple_from_key",
          "keyboard mode 8, brightness 5, speed 4, colour 200 100 50; LED 50 pressed before "
          "the loop starts; 6 passes (6 steps)"},
         [] {
             return Keyboard(Setting(8, 5, 4, 1, false, kGoldenUser), 6, [](KeyboardRig& rig) {
                 rig.Fx().SeedRipple(50, CKeyboardLightEffects::kPress);
             });
         }},
        {{"mode29_two_keys_one_released",
          "keyboard mode 29, brightness 5, speed 4 (threshold 7), colour 200 100 50; LEDs 45 "
          "and 46 pressed, 46 released, then 14 passes (2 steps)"},
         [] {
             return Keyboard(Setting(29, 5, 4, 1, false, kGoldenUser), 14, [](KeyboardRig& rig) {
                 rig.Fx().LightKeyAndNeighbours(45, CKeyboardLightEffects::kPress);
                 rig.Fx().LightKeyAndNeighbours(46, CKeyboardLightEffects::kPress);
                 rig.Fx().LightKeyAndNeighbours(46, CKeyboardLightEffects::kRelease);
             });
         }},
        {{"pad_mode0_wave_single",
          "mouse pad mode 0, brightness 5, speed 4 (7 passes of 1 ms), direction 1, colour "
          "200 100 50; 10 wakes one tick apart from tick 64 (156 ms: 22 steps)"},
         [] {
             PadRig rig;
             rig.Apply(Setting(0, 5, 4, 1, false, kGoldenUser));
             rig.StartLoop(64);
             rig.RunTicks(10);
             return Dump(rig, 15);
         }},
        {{"program_wave_then_breathing",
          "keyboard mode 31 playing [wave multi-colour direction 1 speed 2 for 300 ms, "
          "breathing colour 200 100 50 speed 3 for 500 ms], brightness 4; 30 wakes one tick "
          "apart from tick 64"},
         [] {
             KeyboardRig rig;
             rig.Apply(Setting(31));
             rig.Fx().LoadLightSteps(
                 {ProgramStep(4, kGoldenUser, 300, 2, 1, 1, 4), ProgramStep(0, kGoldenUser, 500, 3, 0, 0, 4)});
             rig.StartLoop(64);
             rig.RunTicks(30);
             return Dump(rig, kLedSlots);
         }},
    };
    return entries;
}

}  // namespace

std::vector<GoldenScenario> GoldenScenarios() {
    std::vector<GoldenScenario> list;
    for (const Entry& e : Entries()) list.push_back(e.scenario);
    return list;
}

std::string RenderGoldenFrame(const std::string& name) {
    for (const Entry& e : Entries())
        if (e.scenario.name == name) return "# " + e.scenario.description + "\n" + e.render();
    throw std::invalid_argument("no golden scenario " + name);
}

}  // namespace lighting::test
