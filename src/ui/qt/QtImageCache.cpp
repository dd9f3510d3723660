// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/QtImageCache.h"

#include "platform/Trace.h"
#include "ui/CResourceManager.h"

namespace ui::qt {

namespace {

QImage Load(const std::string& name, Color mask) {
    const std::string path = CResourceManager::GetInstance().ResolveFile(name).string();
    QImage image;
    if (!image.load(QString::fromStdString(path))) {
        platform::TraceF("ui/qt: image %s not readable\n", path.c_str());
        return QImage();
    }
    image = image.convertToFormat(QImage::Format_ARGB32);
    if ((mask & 0x00FFFFFFu) != 0 || (mask >> 24) != 0) {
        const QRgb key = mask & 0x00FFFFFFu;
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if ((line[x] & 0x00FFFFFFu) == key) line[x] = 0;
            }
        }
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

const QImage& QtImageCache::Get(std::string_view name, Color mask) {
    auto it = m_images.find(std::pair<std::string_view, Color>(name, mask));
    if (it == m_images.end()) {
        std::string owned(name);
        QImage image = Load(owned, mask);
        it = m_images.emplace(std::make_pair(std::move(owned), mask), std::move(image)).first;
    }
    return it->second;
}

}  // namespace ui::qt
