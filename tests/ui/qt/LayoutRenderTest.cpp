// SPDX-License-Identifier: GPL-3.0-or-later
// A whole layout drawn through the renderer: what a person sees in the window and in a
// --screenshot PNG.
#include <unistd.h>

#include <QImage>

#include <cstdlib>
#include <filesystem>

#include "QtTestSupport.h"
#include "ui/CDialogBuilder.h"
#include "ui/CPaintManagerUI.h"
#include "ui/controls/CDeviceKeyButtonUI.h"
#include "ui/qt/QtImageCache.h"
#include "ui/qt/QtScreenshot.h"

namespace {

namespace fs = std::filesystem;
using ui::CDeviceKeyButtonUI;
using ui::CPaintManagerUI;

const QColor kBackground(0x1B, 0x1F, 0x27);
const QColor kTitleBar(0x11, 0x13, 0x18);
const QColor kKeyFrame(76, 86, 106);
constexpr std::uint32_t kRedWord = 0x0000FF;  // red | blue << 8 | green << 16

class LayoutRenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        qttest::UseSampleSkin();
        ui::CDialogBuilder builder;
        ui::CControlUI* root = builder.Create(qttest::SamplePath(), nullptr, &manager);
        ASSERT_NE(root, nullptr) << builder.GetLastError();
        manager.AttachDialog(root);
    }
    CDeviceKeyButtonUI* Key(const char* name) {
        ui::CControlUI* control = manager.FindControl(name);
        return control != nullptr
                   ? static_cast<CDeviceKeyButtonUI*>(control->GetInterface("DeviceKeyButton"))
                   : nullptr;
    }
    QImage Render(int dpi) {
        manager.SetDPI(dpi);
        manager.SetClientSize(manager.ScaleSize(manager.GetInitSize()));
        return ui::qt::QtScreenshot::Render(manager, images, Qt::magenta);
    }

    ui::CMessageLoop loop;
    CPaintManagerUI manager;
    ui::qt::QtImageCache images;
};

TEST_F(LayoutRenderTest, BackgroundAndTintedKeyOverlayReachThePixels) {
    CDeviceKeyButtonUI* lit = Key("key_w");
    CDeviceKeyButtonUI* dark = Key("key_a");
    ASSERT_NE(lit, nullptr);
    ASSERT_NE(dark, nullptr);
    lit->SetLightColour(kRedWord, 255, true);
    const QImage image = Render(96);
    ASSERT_EQ(image.size(), QSize(460, 260));
    EXPECT_TRUE(qttest::Near(image.pixelColor(5, 5), kTitleBar));
    EXPECT_TRUE(qttest::Near(image.pixelColor(5, 150), kBackground));
    // The light image's ring lies over the key's frame: red where lit, the frame elsewhere.
    const ui::Rect w = lit->GetPos();
    const ui::Rect a = dark->GetPos();
    EXPECT_EQ(w.Width(), 48);
    EXPECT_TRUE(qttest::Near(image.pixelColor(w.left + 1, (w.top + w.bottom) / 2), Qt::red));
    EXPECT_TRUE(qttest::Near(image.pixelColor(a.left, (a.top + a.bottom) / 2), kKeyFrame, 16));
    // Turning the overlay off shows the plain key again.
    lit->SetLightOverlay(false);
    const QImage plain = ui::qt::QtScreenshot::Render(manager, images, Qt::magenta);
    EXPECT_TRUE(qttest::Near(plain.pixelColor(w.left, (w.top + w.bottom) / 2), kKeyFrame, 16));
}

TEST_F(LayoutRenderTest, DpiScalesLayoutImagesAndText) {
    Key("key_w")->SetLightColour(kRedWord, 255, true);
    const QImage image = Render(144);
    ASSERT_EQ(image.size(), QSize(690, 390));
    const ui::Rect w = Key("key_w")->GetPos();
    EXPECT_EQ(w.Width(), 72);
    EXPECT_TRUE(qttest::Near(image.pixelColor(w.left + 2, (w.top + w.bottom) / 2), Qt::red));
    EXPECT_TRUE(qttest::Near(image.pixelColor(5, 5), kTitleBar));
}

class ScreenshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("tx512-shot-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(ScreenshotTest, WritesThePngAtTheLayoutSizeOrTheOneAskedFor) {
    const std::string own = (dir / "own.png").string();
    const std::string sized = (dir / "sized.png").string();
    ASSERT_EQ(ui::qt::RunScreenshot(qttest::SamplePath(), own, 0, 0, 96), 0);
    // 100 DPI is no supported scale: drawn at 96.
    ASSERT_EQ(ui::qt::RunScreenshot(qttest::SamplePath(), sized, 600, 300, 100), 0);
    QImage first(QString::fromStdString(own));
    QImage second(QString::fromStdString(sized));
    EXPECT_EQ(first.size(), QSize(460, 260));
    EXPECT_EQ(second.size(), QSize(600, 300));
    EXPECT_TRUE(qttest::Near(first.pixelColor(5, 5), kTitleBar));
    EXPECT_TRUE(qttest::Near(second.pixelColor(590, 290), kBackground));
}

TEST_F(ScreenshotTest, ReportsALayoutThatDoesNotBuildOrAPngThatCannotBeWritten) {
    EXPECT_EQ(ui::qt::RunScreenshot((dir / "missing.xml").string(), (dir / "x.png").string(), 0, 0,
                                    96),
              1);
    EXPECT_FALSE(fs::exists(dir / "x.png"));
    EXPECT_EQ(ui::qt::RunScreenshot(qttest::SamplePath(), (dir / "no/such/dir/x.png").string(), 0,
                                    0, 96),
              2);
}

TEST_F(ScreenshotTest, RenderToolLightsTheKeysWithoutADisplay) {
    const fs::path png = dir / "tool.png";
    const std::string command = std::string("env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen '") +
                                TX512_RENDER_TOOL + "' --light FF0000 '" + qttest::SamplePath() +
                                "' '" + png.string() + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    QImage image(QString::fromStdString(png.string()));
    ASSERT_EQ(image.size(), QSize(460, 260));
    // key_esc is the first key: 16 in from the left, 36 + 18 down.
    EXPECT_TRUE(qttest::Near(image.pixelColor(17, 54 + 24), Qt::red));
    EXPECT_NE(std::system(("'" + std::string(TX512_RENDER_TOOL) + "' --light nothex a b 2>/dev/null").c_str()), 0);
}

}  // namespace
