// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Skin windows drawn into images and PNG files, with or without a display.
#include <QColor>
#include <QImage>

#include <functional>
#include <string>

namespace ui {
class CPaintManagerUI;
}

namespace ui::qt {

class QtImageCache;

class QtScreenshot {
public:
    // The manager's client area, laid out first, over `background` (a Qt GUI application
    // must exist).
    static QImage Render(CPaintManagerUI& manager, QtImageCache& images, const QColor& background);
    // The same over the desktop's window colour, as a PNG file; false when not written.
    static bool SavePng(CPaintManagerUI& manager, const std::string& pngPath);
};

// A layout rendered to a PNG and nothing else: for --screenshot and the render tool.
// `layoutFileOrSkinId` is a layout file (its folder is then the skin folder for images
// and its "res.xml", when there is one) or an identifier or file of the skin folder
// already set, by default "skin/" beside the program. A width or height of 0 takes the
// layout's own size; `dpi` must be one the program supports, else 96 is used. Creates
// the Qt application (on the offscreen platform unless one was chosen) when there is
// none yet. Returns 0 on success, 1 when the layout did not build, 2 when the PNG could
// not be written; the reason goes to stderr.
int RunScreenshot(const std::string& layoutFileOrSkinId, const std::string& pngPath, int width,
                  int height, int dpi);

// The same with a chance to change the built tree before it is drawn (light the keys).
struct ScreenshotRequest {
    std::string layout;
    std::string pngPath;
    int width = 0;
    int height = 0;
    int dpi = 96;
    std::function<void(CPaintManagerUI&)> prepare;
};
int RunScreenshot(const ScreenshotRequest& request);

}  // namespace ui::qt
