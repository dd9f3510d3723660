// SPDX-License-Identifier: GPL-3.0-or-later
// Private fonts, the font table and the supported scales.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "QtTestSupport.h"
#include "platform/Trace.h"
#include "ui/CPaintManagerUI.h"
#include "ui/DpiValue.h"
#include "ui/qt/FontTable.h"
#include "ui/qt/QtFontMapper.h"
#include "ui/qt/QtPrivateFonts.h"

namespace {

namespace fs = std::filesystem;
using ui::DpiValue;

TEST(DpiValueTest, OnlyTheSevenScalesAreTakenOthersBecome96WithATraceLine) {
    for (int dpi : {48, 72, 96, 120, 144, 168, 192}) EXPECT_EQ(DpiValue::Checked(dpi), dpi);
    std::string trace;
    platform::SetTraceSink([&trace](std::string_view text) { trace += text; });
    EXPECT_EQ(DpiValue::Checked(100, "MSG_WND DPI SET ERROR"), 96);
    EXPECT_EQ(DpiValue::Checked(0), 96);
    EXPECT_EQ(DpiValue::Checked(216), 96);
    EXPECT_EQ(DpiValue::Checked(24), 96);
    platform::SetTraceSink({});
    EXPECT_EQ(trace, "MSG_WND DPI SET ERROR");
    EXPECT_EQ(DpiValue::ForScreen(1920, 1080), 144);
    EXPECT_EQ(DpiValue::ForScreen(1500, 1080), 96);
    EXPECT_EQ(DpiValue::ForScreen(1920, 960), 96);
}

TEST(FontTableTest, BuildsEveryIdInOneFaceAndDropsTheOldFonts) {
    ui::CPaintManagerUI manager;
    manager.AddFont(42, "Old", 9, false, false, false);
    ui::qt::FontTable::Build(manager);
    EXPECT_FALSE(manager.HasFont(42));
    struct Expect {
        int id, size;
        bool bold, underline;
    };
    for (Expect e : {Expect{0, 15, false, false}, Expect{1, 14, false, true}, Expect{3, 30, false, false},
                     Expect{9, 11, false, false}, Expect{11, 28, false, false}, Expect{50, 18, true, false}}) {
        const ui::TFontInfo& font = manager.GetFont(e.id);
        EXPECT_EQ(font.sFontName, "Verdana Unicode MS") << e.id;
        EXPECT_EQ(font.iSize, e.size) << e.id;
        EXPECT_EQ(font.bBold, e.bold) << e.id;
        EXPECT_EQ(font.bUnderline, e.underline) << e.id;
    }
    EXPECT_EQ(manager.GetFont(-1).iSize, 12);  // the default font
    EXPECT_EQ(manager.GetFont(12).iSize, 12);  // an id the table lacks
    ui::CPaintManagerUI::RemoveAllShared();
}

TEST(FontMapperTest, SizesAreDpiScaledPixels) {
    ui::TFontInfo info{"DejaVu Sans", 12, true, false, true, false};
    EXPECT_EQ(ui::qt::QtFontMapper::ToQFont(info, 96).pixelSize(), 12);
    EXPECT_EQ(ui::qt::QtFontMapper::ToQFont(info, 144).pixelSize(), 18);
    EXPECT_TRUE(ui::qt::QtFontMapper::ToQFont(info, 96).bold());
    EXPECT_TRUE(ui::qt::QtFontMapper::ToQFont(info, 96).italic());
}

class PrivateFontsTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("tx512-fonts-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(PrivateFontsTest, MissingFolderOrBrokenFilesAreSkippedSilently) {
    ui::qt::QtPrivateFonts fonts;
    EXPECT_EQ(fonts.Load(dir), 0);  // no "Font/" at all
    fs::create_directories(dir / "Font");
    { std::ofstream(dir / "Font/Simplified_Chinese.ttf") << "not a font"; }
    EXPECT_EQ(fonts.Load(dir), 0);
    EXPECT_EQ(fonts.Count(), 0);
}

TEST_F(PrivateFontsTest, PresentFilesAreLoadedAndRemovedAgain) {
    const fs::path system = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
    if (!fs::exists(system)) GTEST_SKIP() << "no DejaVu font on this machine";
    fs::create_directories(dir / "Font");
    fs::copy_file(system, dir / "Font/Dedirade-Regular.otf");
    {
        ui::qt::QtPrivateFonts fonts;
        EXPECT_EQ(fonts.Load(dir), 1);
        const auto families = fonts.Families();
        ASSERT_FALSE(families.empty());
        EXPECT_EQ(families.front(), "DejaVu Sans Mono");
    }  // unloaded here; loading again adds it afresh
    ui::qt::QtPrivateFonts again;
    EXPECT_EQ(again.Load(dir), 1);
}

}  // namespace
