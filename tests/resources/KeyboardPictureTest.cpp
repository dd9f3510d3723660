// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard picture and the pad picture: one cap and one LED button per position, laid
// out as the lighting engine's column matrix sees the board, with the factory table's
// legends; the pad's 15 LEDs around its edge.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ShippedFiles.h"
#include "ui/CContainerUI.h"
#include "ui/controls/CDeviceKeyButtonUI.h"

namespace {

// The lighting engine's column matrix: 23 columns of 6 rows, 126 = no LED.
constexpr std::array<std::array<int, 6>, 23> kColumns = {{
    {126, 120, 121, 122, 84, 124}, {0, 21, 42, 63, 102, 105}, {126, 22, 43, 64, 85, 106},
    {1, 23, 44, 65, 86, 126},      {2, 24, 45, 66, 87, 107},  {3, 25, 46, 67, 88, 126},
    {4, 26, 47, 68, 89, 108},      {126, 27, 48, 69, 90, 126}, {5, 28, 49, 70, 91, 126},
    {6, 29, 50, 71, 92, 109},      {7, 30, 51, 72, 93, 126},  {8, 31, 52, 73, 94, 125},
    {9, 32, 53, 74, 126, 110},     {10, 33, 54, 104, 126, 111}, {11, 34, 55, 75, 95, 112},
    {12, 126, 126, 126, 126, 113}, {13, 35, 56, 126, 96, 114}, {14, 36, 57, 126, 126, 115},
    {15, 37, 58, 126, 126, 126},   {126, 38, 59, 76, 97, 116}, {126, 39, 60, 77, 98, 126},
    {126, 40, 61, 78, 99, 117},    {126, 41, 126, 119, 118, 126},
}};

// The matrix puts left Shift where the macro column's M4 is; on the picture M4 keeps the
// macro column and Shift starts the main block, so that cell is not compared by column.
constexpr int kShiftInMacroColumn = 84;

struct Picture {
    ui::CPaintManagerUI manager;
    ui::CControlUI* root = nullptr;
    ui::CContainerUI* panel = nullptr;
    std::map<std::string, ui::CDeviceKeyButtonUI*> buttons;

    Picture(const std::string& file, const std::string& panelName, int dpi) {
        std::vector<std::string> unknown;
        root = shipped::BuildLayout(file, manager, unknown, true);
        if (root == nullptr) return;
        manager.AttachDialog(root);
        manager.SetDPI(dpi);
        // the device page's area in the main window
        manager.SetClientSize(manager.ScaleSize(ui::Size{836, 592}));
        manager.EnsureLayout();
        ui::CControlUI* found = manager.FindControl(panelName);
        panel = found != nullptr ? static_cast<ui::CContainerUI*>(found->GetInterface("Container")) : nullptr;
        if (panel == nullptr) return;
        for (int i = 0; i < panel->GetCount(); ++i) {
            ui::CControlUI* child = panel->GetItemAt(i);
            auto* key = static_cast<ui::CDeviceKeyButtonUI*>(child->GetInterface("DeviceKeyButton"));
            if (key != nullptr) buttons[child->GetName()] = key;
        }
    }
    ui::CDeviceKeyButtonUI* Key(int p) { return Button("key_" + std::to_string(p)); }
    ui::CDeviceKeyButtonUI* Led(int p) { return Button("light_" + std::to_string(p)); }
    ui::CDeviceKeyButtonUI* Button(const std::string& name) {
        auto it = buttons.find(name);
        return it == buttons.end() ? nullptr : it->second;
    }
};

int CentreX(const ui::Rect& r) { return (r.left + r.right) / 2; }
int CentreY(const ui::Rect& r) { return (r.top + r.bottom) / 2; }

TEST(KeyboardPicture, EveryPositionHasACapUnderItsLed) {
    Picture kb("XML/DeviceXml/keyboarddevice.xml", "keyboard_device_key_light", 96);
    ASSERT_NE(kb.panel, nullptr);
    EXPECT_EQ(kb.panel->GetClass(), "SelectPanel") << "area selection needs the buttons as its own children";
    ASSERT_EQ(kb.buttons.size(), 252u) << "key_0..125 and light_0..125, nothing else";
    for (int p = 0; p < 126; ++p) {
        ui::CDeviceKeyButtonUI* key = kb.Key(p);
        ui::CDeviceKeyButtonUI* led = kb.Led(p);
        ASSERT_TRUE(key != nullptr && led != nullptr) << "position " << p;
        EXPECT_EQ(key->GetPos(), led->GetPos()) << "the light of position " << p << " covers its cap";
        EXPECT_EQ(key->IsVisible(), led->IsVisible()) << p;
        EXPECT_FALSE(led->GetLightImage().empty()) << "light_" << p << " has nothing to show the preview with";
        EXPECT_FALSE(led->IsMouseEnabled()) << "light_" << p << " would take the cap's clicks";
        EXPECT_TRUE(key->IsMouseEnabled()) << "key_" << p;
        EXPECT_FALSE(key->GetKeySetImage().empty()) << "key_" << p << " cannot mark a reassigned key";
        EXPECT_GT(kb.panel->GetItemIndex(led), kb.panel->GetItemIndex(key)) << "light_" << p << " is drawn under its cap";
    }
}

class KeyboardAtDpi : public ::testing::TestWithParam<int> {};

TEST_P(KeyboardAtDpi, VisibleCapsLieInThePanelWithoutOverlapping) {
    Picture kb("XML/DeviceXml/keyboarddevice.xml", "keyboard_device_key_light", GetParam());
    ASSERT_NE(kb.panel, nullptr);
    const ui::Rect area = kb.panel->GetPos();
    std::vector<std::pair<int, ui::Rect>> caps;
    for (int p = 0; p < 126; ++p) {
        ui::CDeviceKeyButtonUI* key = kb.Key(p);
        ASSERT_NE(key, nullptr);
        if (!key->IsVisible()) continue;
        const ui::Rect r = key->GetPos();
        EXPECT_TRUE(r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom)
            << "key_" << p << " leaves the picture";
        const int unit = kb.manager.ScaleValue(30);
        EXPECT_TRUE(r.Width() >= unit && r.Height() >= unit) << "key_" << p << " is smaller than a key";
        caps.emplace_back(p, r);
    }
    EXPECT_GE(caps.size(), 115u);
    for (size_t i = 0; i < caps.size(); ++i)
        for (size_t j = i + 1; j < caps.size(); ++j)
            EXPECT_FALSE(caps[i].second.Intersects(caps[j].second))
                << "key_" << caps[i].first << " and key_" << caps[j].first << " overlap";
}

INSTANTIATE_TEST_SUITE_P(Dpi, KeyboardAtDpi, ::testing::Values(96, 144));

TEST(KeyboardPicture, CapsSitWhereTheColumnMatrixPutsTheirLeds) {
    Picture kb("XML/DeviceXml/keyboarddevice.xml", "keyboard_device_key_light", 96);
    ASSERT_NE(kb.panel, nullptr);
    // Every LED of the matrix has a visible cap: the preview lights it.
    for (const auto& column : kColumns) {
        for (int p : column) {
            if (p != 126) {
                EXPECT_TRUE(kb.Key(p)->IsVisible()) << "key_" << p;
            }
        }
    }
    // Along a row, columns run left to right; down a column, rows run top to bottom.
    for (int row = 0; row < 6; ++row) {
        int lastX = -1, lastColumn = -1;
        for (int c = 0; c < 23; ++c) {
            const int p = kColumns[c][row];
            if (p == 126 || (p == kShiftInMacroColumn && c == 0)) continue;
            const int x = CentreX(kb.Key(p)->GetPos());
            EXPECT_GT(x, lastX) << "row " << row << ": key_" << p << " (column " << c << ") is not right of column "
                                << lastColumn;
            lastX = x;
            lastColumn = c;
        }
    }
    for (int c = 0; c < 23; ++c) {
        int lastY = -1;
        for (int row = 0; row < 6; ++row) {
            const int p = kColumns[c][row];
            if (p == 126 || (p == kShiftInMacroColumn && c == 0)) continue;
            const int y = CentreY(kb.Key(p)->GetPos());
            EXPECT_GT(y, lastY) << "column " << c << ": key_" << p << " is not below the row above";
            lastY = y;
        }
    }
    // The macro keys M1..M5 stand in one column at the left edge, below the game key.
    const int macroX = kb.Key(120)->GetPos().left;
    for (int p : {16, 120, 121, 122, 123, 124}) EXPECT_EQ(kb.Key(p)->GetPos().left, macroX) << "key_" << p;
    EXPECT_LT(macroX, kb.Key(0)->GetPos().left);
}

TEST(KeyboardPicture, CapsCarryTheLegendOfTheirFactoryKey) {
    Picture kb("XML/DeviceXml/keyboarddevice.xml", "keyboard_device_key_light", 96);
    ASSERT_NE(kb.panel, nullptr);
    // From the factory table: positions of the letters (HID usages 0x04..0x1D), the digits
    // (0x1E..0x27) and the function keys (0x3A..0x45).
    const std::map<int, std::string> letters = {
        {64, "A"}, {89, "B"}, {87, "C"}, {66, "D"}, {45, "E"}, {67, "F"}, {68, "G"}, {69, "H"}, {50, "I"},
        {70, "J"}, {71, "K"}, {72, "L"}, {91, "M"}, {90, "N"}, {51, "O"}, {52, "P"}, {43, "Q"}, {46, "R"},
        {65, "S"}, {47, "T"}, {49, "U"}, {88, "V"}, {44, "W"}, {86, "X"}, {48, "Y"}, {85, "Z"}};
    for (const auto& [p, legend] : letters) EXPECT_EQ(kb.Key(p)->GetText(), legend) << "key_" << p;
    for (int d = 0; d < 10; ++d) EXPECT_EQ(kb.Key(22 + d)->GetText(), std::to_string((d + 1) % 10)) << d;
    for (int f = 1; f <= 12; ++f) EXPECT_EQ(kb.Key(f)->GetText(), "F" + std::to_string(f));
    for (int m = 1; m <= 5; ++m) EXPECT_EQ(kb.Key(119 + m)->GetText(), "M" + std::to_string(m));
    EXPECT_EQ(kb.Key(0)->GetText(), "Esc");
    EXPECT_EQ(kb.Key(110)->GetText(), "Fn");
    for (int p : {97, 98, 99}) EXPECT_EQ(kb.Key(p)->GetText(), std::to_string(p - 96)) << "keypad";
    // Legends are what the caps say in every language: never looked up as text keys.
    for (int p = 0; p < 126; ++p) EXPECT_FALSE(kb.Key(p)->IsResourceText()) << "key_" << p;
}

TEST(PadPicture, FifteenLedsAroundThePadFacingEachOtherInPairs) {
    Picture pad("XML/DeviceXml/mousepaddevice.xml", "mousepad_device_key_light", 96);
    ASSERT_NE(pad.panel, nullptr);
    EXPECT_EQ(pad.panel->GetClass(), "SelectPanel");
    ASSERT_EQ(pad.buttons.size(), 15u) << "light_0..14 and no keys";
    const ui::Rect area = pad.panel->GetPos();
    for (int n = 0; n < 15; ++n) {
        ui::CDeviceKeyButtonUI* led = pad.Led(n);
        ASSERT_NE(led, nullptr) << n;
        EXPECT_FALSE(led->GetLightImage().empty());
        const ui::Rect r = led->GetPos();
        EXPECT_TRUE(r.left >= area.left && r.right <= area.right && r.top >= area.top && r.bottom <= area.bottom) << n;
    }
    // LEDs 1..7 run along the top edge and 8..14 back along the bottom, so that the pairs
    // the mirror effect fades together (n, 15 - n) face each other.
    for (int n = 1; n <= 7; ++n) {
        const ui::Rect top = pad.Led(n)->GetPos();
        const ui::Rect bottom = pad.Led(15 - n)->GetPos();
        EXPECT_EQ(CentreX(top), CentreX(bottom)) << n;
        EXPECT_LT(top.bottom, bottom.top) << n;
        if (n > 1) {
            EXPECT_GT(top.left, pad.Led(n - 1)->GetPos().right) << n;
        }
    }
}

}  // namespace
