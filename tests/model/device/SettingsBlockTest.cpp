// SPDX-License-Identifier: GPL-3.0-or-later
// The settings blocks of the keyboard and the mouse pad as the devices keep them, and the
// small tables of the device page.
#include <gtest/gtest.h>

#include "device/scanner/DeviceKind.h"
#include "model/device/ButtonName.h"
#include "model/device/FunctionPages.h"
#include "model/device/KeyboardSettingsBlock.h"
#include "model/device/PadSettingsBlock.h"

namespace model {
namespace {

LightSetting Light(uint8_t mode, uint8_t speed) {
    LightSetting s;
    s.mode = mode;
    s.brightness = 4;
    s.speed = speed;
    s.direction = 1;
    s.multiColour = 1;
    s.red = 0x11;
    s.green = 0x22;
    s.blue = 0x33;
    s.zzccMode = 7;
    s.customGroup = 2;
    return s;
}

SystemStages Stages(uint16_t key6, uint16_t polling, uint16_t w, uint16_t win) {
    SystemStages st;
    st.words = {SystemStages::Pack(9, 3), SystemStages::Pack(key6, polling),
                SystemStages::Pack(w, win)};
    return st;
}

TEST(KeyboardSettingsBlockTest, EncodesTheDeviceFormsOfSpeedModeAndSixKeyFlag) {
    const auto block = KeyboardSettingsBlock::Encode(0, Light(20, 3), Stages(0, 2, 1, 1));
    const KeyboardSettingsBlock::Bytes expected = {0, 20, 4, 1, 1, 1, 0x11, 0x22, 0x33, 0, 0, 0, 0,
                                                   0, 0,  0, 0, 0, 7, 1,    1,    1,    2, 0, 0, 2};
    EXPECT_EQ(block, expected);
    EXPECT_EQ(KeyboardSettingsBlock::Encode(0, Light(21, 0), Stages(1, 0, 0, 0))[1], 0);
    EXPECT_EQ(KeyboardSettingsBlock::Encode(0, Light(21, 0), Stages(1, 0, 0, 0))[3], 4);
    EXPECT_EQ(KeyboardSettingsBlock::Encode(0, Light(35, 0), Stages(1, 0, 0, 0))[20], 0);
}

TEST(KeyboardSettingsBlockTest, ValuesBeyondWhatTheKeyboardUnderstandsAreNeverSentRaw) {
    LightSetting light = Light(3, 9);  // a speed of 9 would wrap to 4 - 9 = 251
    light.brightness = 200;
    light.direction = 7;
    light.multiColour = 9;
    light.customGroup = 250;  // past the groups offered
    const auto block = KeyboardSettingsBlock::Encode(0, light, Stages(2, 40, 3, 5));
    EXPECT_EQ(block[2], 5);
    EXPECT_EQ(block[3], 0);
    EXPECT_EQ(block[4], 1);
    EXPECT_EQ(block[5], 1);
    EXPECT_EQ(block[19], 1);
    EXPECT_EQ(block[20], 0);
    EXPECT_EQ(block[21], 1);
    EXPECT_EQ(block[22], 3);
    EXPECT_EQ(block[25], KeyboardSettingsBlock::kMaxCustomGroup);

    PadSettingsBlock pad;
    pad.TakeLight(light);
    const auto padBlock = pad.ForWrite();
    EXPECT_EQ(padBlock[2], 5);
    EXPECT_EQ(padBlock[3], 0);
    EXPECT_EQ(padBlock[5], 1);
}

TEST(KeyboardSettingsBlockTest, DecodingUndoesTheDeviceFormsAndClearsByte16) {
    KeyboardSettingsBlock::Bytes block{};
    block[1] = 13;
    block[3] = 1;
    block[16] = 0x5A;
    block[19] = 1;
    block[20] = 1;
    block[21] = 0;
    block[25] = 3;
    const auto d = KeyboardSettingsBlock::Decode(block);
    EXPECT_EQ(d.light.mode, 13);
    EXPECT_EQ(d.light.speed, 3);
    EXPECT_EQ(d.key6Flag, 0);
    EXPECT_EQ(d.wFlag, 1);
    EXPECT_EQ(d.winFlag, 0);
    EXPECT_EQ(d.light.customGroup, 3);
    EXPECT_EQ(d.kept[16], 0);
    block[20] = 0;
    EXPECT_EQ(KeyboardSettingsBlock::Decode(block).key6Flag, 1);
    // A block written and read back gives the same switches and lighting.
    const auto round = KeyboardSettingsBlock::Decode(
        KeyboardSettingsBlock::Encode(0, Light(6, 2), Stages(0, 1, 1, 0)));
    EXPECT_EQ(round.light.speed, 2);
    EXPECT_EQ(round.key6Flag, 0);
    EXPECT_EQ(round.light.zzccMode, 7);
}

TEST(PadSettingsBlockTest, SpeedIsHeldAsTheSpeedAndSentAsFourMinusIt) {
    PadSettingsBlock pad;
    pad.TakeLight(Light(3, 1));
    auto bytes = pad.ForWrite();
    EXPECT_EQ(bytes[3], 3);
    EXPECT_EQ(pad.HeldSpeed(), 1);
    // Before any read, the active index and the direction are 0 on the wire.
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(bytes[4], 0);
    EXPECT_EQ(bytes[1], 3);

    std::array<uint8_t, PadSettingsBlock::kReadSize> read{};
    for (std::size_t i = 0; i < read.size(); ++i) read[i] = static_cast<uint8_t>(0x40 + i);
    read[3] = 0;
    pad.TakeRead(2, read);
    EXPECT_EQ(pad.HeldSpeed(), 4);
    bytes = pad.ForWrite();
    EXPECT_EQ(bytes[0], 2);
    EXPECT_EQ(bytes[3], 0);
    EXPECT_EQ(bytes[4], 0x44);
    EXPECT_EQ(bytes[20], 0x40 + 20);  // the pad's own bytes go back as they came
}

TEST(FunctionPagesTest, PageFourDependsOnTheKind) {
    EXPECT_EQ(FunctionPages::For(4, device::kKindKeyboard), (FunctionPageSelection{3, -1}));
    EXPECT_EQ(FunctionPages::For(4, device::kKindMouse), (FunctionPageSelection{3, -1}));
    EXPECT_EQ(FunctionPages::For(4, device::kKindMousePad), (FunctionPageSelection{0, 2}));
    EXPECT_EQ(FunctionPages::For(6, device::kKindMousePad), (FunctionPageSelection{0, 1}));
    EXPECT_EQ(FunctionPages::For(8, device::kKindKeyboard), (FunctionPageSelection{1, -1}));
    EXPECT_EQ(FunctionPages::For(5, device::kKindKeyboard), (FunctionPageSelection{2, -1}));
    EXPECT_EQ(FunctionPages::For(9, device::kKindKeyboard), (FunctionPageSelection{0, 0}));
}

TEST(ButtonNameTest, SplitsAtTheLastUnderscore) {
    const auto name = ButtonName::Split("light_key_17");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->prefix, "light_key_");
    EXPECT_EQ(name->number, 17);
    EXPECT_FALSE(ButtonName::Split("light17"));
    EXPECT_FALSE(ButtonName::Split("key_"));
    EXPECT_FALSE(ButtonName::Split("key_-1"));
    EXPECT_FALSE(ButtonName::Split("key_3a"));
}

}  // namespace
}  // namespace model
