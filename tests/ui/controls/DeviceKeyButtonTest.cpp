// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlsTestWindow.h"
#include "ui/controls/CDeviceKeyButtonUI.h"

namespace tx512::test {
namespace {

using ui::CDeviceKeyButtonUI;
using Op = ui::RecordingRenderTarget::Op;
using Kind = ui::TInputEvent::Kind;

constexpr const char* kKeys = R"(<VerticalLayout>
  <SelectPanel name="device_key_light" height="200">
    <DeviceKeyButton name="key_0" float="true" pos="10,10,50,50" normalimage="key.png"
                     lightimage="light.png" keysetimage="set.png" gmnametextcolor="FF00FF"/>
    <DeviceKeyButton name="key_1" float="true" pos="60,10,100,50" normalimage="key.png"
                     gmnametextcolor="#FF00FF"/>
  </SelectPanel>
</VerticalLayout>)";

TEST(DeviceKeyButton, BuiltFromLayoutWithItsImagesAndInitialState) {
    ControlsTestWindow w;
    w.Load(kKeys);
    auto* key = w.Find<CDeviceKeyButtonUI>("key_0", "DeviceKeyButton");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->GetClass(), "DeviceKeyButton");
    EXPECT_NE(key->GetInterface("Button"), nullptr);
    EXPECT_EQ(key->GetPos(), (ui::Rect{10, 10, 50, 50}));
    EXPECT_EQ(key->GetLightImage(), "light.png");
    EXPECT_EQ(key->GetKeySetImage(), "set.png");
    EXPECT_EQ(key->GetLightColour(), 255u);
    EXPECT_EQ(key->GetLightAlpha(), 200);
    EXPECT_FALSE(key->IsLightOverlay());
    EXPECT_TRUE(key->IsKeySetImageHidden());
    EXPECT_FALSE(key->IsSelectedByArea());
    // The name text colour of other key pictures is read and dropped.
    EXPECT_EQ(key->GetTextColor(), 0xFF000000u);
    // Until the preview reaches it, only the key itself is drawn.
    EXPECT_EQ(Paint(*key).Images(), std::vector<std::string>{"key.png"});
}

TEST(DeviceKeyButton, LightOverlayIsTheLightImageTintedWithThePreviewColour) {
    ControlsTestWindow w;
    w.Load(kKeys);
    auto* key = w.Find<CDeviceKeyButtonUI>("key_0", "DeviceKeyButton");
    ASSERT_NE(key, nullptr);

    // The device packs red | blue << 8 | green << 16.
    const std::uint32_t word = 0x11u | 0x33u << 8 | 0x22u << 16;
    key->SetLightColour(word, 128, true);
    auto images = Paint(*key).Of(Op::DrawImage);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].image.sImageName, "key.png");
    EXPECT_EQ(images[0].color, 0u);  // the key itself is not tinted
    EXPECT_EQ(images[1].image.sImageName, "light.png");
    EXPECT_EQ(images[1].rect, key->GetPos());
    EXPECT_EQ(images[1].color, 0xFF112233u);
    EXPECT_EQ(images[1].alpha, 128);

    // A reassigned key shows its key-set mark over the light.
    key->SetKeySetImageHidden(false);
    EXPECT_EQ(Paint(*key).Images(), (std::vector<std::string>{"key.png", "light.png", "set.png"}));

    key->SetLightColour(word, 128, false);
    EXPECT_EQ(Paint(*key).Images(), (std::vector<std::string>{"key.png", "set.png"}));
}

TEST(DeviceKeyButton, NeverRefreshedKeyShowsTheInitialColourWhenTheOverlayIsOn) {
    CDeviceKeyButtonUI key;
    key.SetPos(ui::Rect{0, 0, 20, 20}, false);
    key.SetLightImage("light.png");
    key.SetLightOverlay(true);
    auto images = Paint(key).Of(Op::DrawImage);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].color, 0xFFFF0000u);  // word 255 is pure red
    EXPECT_EQ(images[0].alpha, 200);
    EXPECT_EQ(CDeviceKeyButtonUI::TintFromColourWord(0xFFFFFF), 0xFFFFFFFFu);
    EXPECT_EQ(CDeviceKeyButtonUI::TintFromColourWord(0x00FF00), 0xFF0000FFu);  // blue byte
}

TEST(DeviceKeyButton, ChosenKeyDrawnByColoursShowsItsPressedColour) {
    // The mouse's keys lie over its picture with colours only: nothing shows until hovered,
    // and the key the key panel shows keeps its pressed colour.
    CDeviceKeyButtonUI key;
    key.SetPos(ui::Rect{0, 0, 20, 30}, false);
    key.SetHotBkColor(0x3022B8F0u);
    key.SetPushedBkColor(0x5022B8F0u);
    EXPECT_TRUE(Paint(key).Of(Op::FillRect).empty());
    key.SetKeySelected(true);
    auto fills = Paint(key).Of(Op::FillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].color, 0x5022B8F0u);
    EXPECT_EQ(fills[0].rect, key.GetPos());
    key.SetKeySelected(false);
    EXPECT_TRUE(Paint(key).Of(Op::FillRect).empty());
}

TEST(DeviceKeyButton, KeySetFlagRepaintsOnlyWhenItChanges) {
    ControlsTestWindow w;
    w.Load(kKeys);
    auto* key = w.Find<CDeviceKeyButtonUI>("key_0", "DeviceKeyButton");
    ASSERT_NE(key, nullptr);
    int before = w.manager.GetInvalidateCount();
    key->SetKeySetImageHidden(true);
    EXPECT_EQ(w.manager.GetInvalidateCount(), before);
    key->SetKeySetImageHidden(false);
    EXPECT_GT(w.manager.GetInvalidateCount(), before);
}

TEST(DeviceKeyButton, DoubleClickRaisesDbclickOnlyWhenEnabled) {
    ControlsTestWindow w;
    w.Load(kKeys);
    auto* key = w.Find<CDeviceKeyButtonUI>("key_0", "DeviceKeyButton");
    ASSERT_NE(key, nullptr);
    const ui::Point inside{30, 30};

    w.Click(inside);
    w.Input(Kind::DoubleClick, inside);
    EXPECT_NE(key->GetButtonState() & ui::UISTATE_PUSHED, 0u);
    w.Up(inside);
    EXPECT_EQ(w.Types(), (std::vector<std::string>{"click", "dbclick", "click"}));
    EXPECT_EQ(w.Last("dbclick")->sender, key);

    w.notices.clear();
    key->SetEnabled(false);
    w.Input(Kind::DoubleClick, inside);
    w.Up(inside);
    EXPECT_EQ(w.Count("dbclick"), 0);
    EXPECT_EQ(w.Count("click"), 0);
    EXPECT_EQ(key->GetButtonState() & ui::UISTATE_PUSHED, 0u);
}

}  // namespace
}  // namespace tx512::test
