#include "ui/qt/QtUnderlayCache.h"

namespace ui::qt {

QtUnderlayCache::Kept* QtUnderlayCache::Find(const QRect& rect) {
    auto it = m_images.find(rect);
    return it == m_images.end() ? nullptr : &it->second;
}

QtUnderlayCache::Kept& QtUnderlayCache::Keep(const QRect& rect, QImage image) {
    if (m_bytes + image.sizeInBytes() > kLimitBytes) Clear();
    Drop(rect);
    m_bytes += image.sizeInBytes();
    Kept kept;
    kept.image = std::move(image);
    return m_images.emplace(rect, std::move(kept)).first->second;
}

void QtUnderlayCache::Drop(const QRect& rect) {
    for (auto it = m_images.begin(); it != m_images.end();) {
        if (it->first.intersects(rect)) {
            m_bytes -= it->second.image.sizeInBytes();
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
