// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/QtScreenshot.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/Paths.h"
#include "ui/CControlUI.h"
#include "ui/CDialogBuilder.h"
#include "ui/CMessageLoop.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CResourceManager.h"
#include "ui/controls/ProgramControls.h"
#include "ui/DpiValue.h"
#include "ui/qt/QtEnvironment.h"
#include "ui/qt/QtImageCache.h"
#include "ui/qt/QtRenderTarget.h"

namespace ui::qt {

namespace fs = std::filesystem;

namespace {

constexpr Size kFallbackSize{800, 600};

}  // namespace

QImage QtScreenshot::Render(CPaintManagerUI& manager, QtImageCache& images,
                            const QColor& background) {
    manager.EnsureLayout();
    const Size size = manager.GetClientSize();
    if (size.cx <= 0 || size.cy <= 0) return QImage();
    QImage image(size.cx, size.cy, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    QtRenderTarget target(painter, images, manager.GetDPI(),
                          [&manager](int id) { return manager.GetFont(id); });
    manager.Paint(target);
    return image;
}

bool QtScreenshot::SavePng(CPaintManagerUI& manager, const std::string& pngPath) {
    QtImageCache images;
    const QImage image = Render(manager, images, QGuiApplication::palette().color(QPalette::Window));
    return !image.isNull() && image.save(QString::fromStdString(pngPath), "PNG");
}

int RunScreenshot(const std::string& layoutFileOrSkinId, const std::string& pngPath, int width,
                  int height, int dpi) {
    ScreenshotRequest request;
    request.layout = layoutFileOrSkinId;
    request.pngPath = pngPath;
    request.width = width;
    request.height = height;
    request.dpi = dpi;
    return RunScreenshot(request);
}

int RunScreenshot(const ScreenshotRequest& request) {
    const std::string& layoutFileOrSkinId = request.layout;
    const std::string& pngPath = request.pngPath;
    std::unique_ptr<QGuiApplication> app;
    if (QCoreApplication::instance() == nullptr) {
        QtEnvironment::PrepareHeadless();
        static int argc = 1;
        static char name[] = "tx512-screenshot";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QGuiApplication>(argc, argv);
    }

    CResourceManager& resources = CResourceManager::GetInstance();
    std::string layout = layoutFileOrSkinId;
    std::error_code ec;
    if (fs::is_regular_file(layoutFileOrSkinId, ec)) {
        const fs::path file = fs::absolute(layoutFileOrSkinId, ec);
        resources.SetResourcePath(file.parent_path());
        if (fs::exists(file.parent_path() / "res.xml", ec)) resources.LoadResource("res.xml");
        layout = file.string();
    } else if (resources.GetResourcePath().empty()) {
        resources.SetResourcePath(platform::DataDir() / "skin");
        resources.LoadResource("res.xml");
    }
    RegisterProgramControls();

    // Timers and posted work of the layout need a loop; an existing one is not run here.
    std::unique_ptr<CMessageLoop> loop;
    if (CMessageLoop::Current() == nullptr) loop = std::make_unique<CMessageLoop>();

    CPaintManagerUI manager;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(layout, nullptr, &manager);
    if (root == nullptr) {
        std::fprintf(stderr, "screenshot: layout %s did not build: %s\n", layout.c_str(),
                     builder.GetLastError().c_str());
        return 1;
    }
    manager.AttachDialog(root);
    manager.SetDPI(DpiValue::Checked(request.dpi, "screenshot: DPI not supported, 96 used\n"));
    Size size{request.width, request.height};
    if (size.cx <= 0 || size.cy <= 0) size = manager.ScaleSize(manager.GetInitSize());
    if (size.cx <= 0 || size.cy <= 0) size = manager.ScaleSize(kFallbackSize);
    manager.SetClientSize(size);
    manager.EnsureLayout();
    if (loop) loop->RunPending();
    if (request.prepare) {
        request.prepare(manager);
        if (loop) loop->RunPending();
    }
    if (!QtScreenshot::SavePng(manager, pngPath)) {
        std::fprintf(stderr, "screenshot: %s could not be written\n", pngPath.c_str());
        return 2;
    }
    return 0;
}

}  // namespace ui::qt
