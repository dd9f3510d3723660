#include "ui/qt/QtUnderlayCache.h"

namespace ui::qt {

const QImage* QtUnderlayCache::Find(const QRect& rect) const {
    auto it = m_images.find(rect);
    return it == m_images.end() ? nullptr : &it->second;
}

void QtUnderlayCache::Keep(const QRect& rect, QImage image) {
    if (m_bytes + image.sizeInBytes() > kLimitBytes) Clear();
    Drop(rect);
    m_bytes += image.sizeInBytes();
    m_images.emplace(rect, std::move(image));
}

void QtUnderlayCache::Drop(const QRect& rect) {
    for (auto it = m_images.begin(); it != m_images.end();) {
        if (it->first.intersects(rect)) {
            m_bytes -= it->second.sizeInBytes();
            it = m_images.erase(it);
        } else {
            ++it;
        }
    }
}

void QtUnderlayCache::Clear() {
    m_images.clear();
    m_bytes = 0;
}

}  // namespace ui::qt
