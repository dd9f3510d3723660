// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/QtUnderlayCache.h"

namespace ui::qt {

QtUnderlayCache::Kept* QtUnderlayCache::Find(const QRect& rect) {
    const size_t count = m_entries.size();
    for (size_t step = 0; step < count; ++step) {
        const size_t at = (m_next + step) % count;
        if (m_entries[at].rect == rect) {
            m_next = at + 1;
            return m_entries[at].kept.get();
        }
    }
    return nullptr;
}

QtUnderlayCache::Kept& QtUnderlayCache::Keep(const QRect& rect, QImage image) {
    if (m_bytes + 2 * image.sizeInBytes() > kLimitBytes) Clear();
    Drop(rect);
    m_bytes += 2 * image.sizeInBytes();
    auto kept = std::make_unique<Kept>();
    kept->image = std::move(image);
    m_entries.push_back({rect, std::move(kept)});
    return *m_entries.back().kept;
}

void QtUnderlayCache::Drop(const QRect& rect) {
    std::erase_if(m_entries, [&](const Entry& entry) {
        if (!entry.rect.intersects(rect)) return false;
        m_bytes -= 2 * entry.kept->image.sizeInBytes();
        return true;
    });
    m_next = 0;
}

void QtUnderlayCache::Clear() {
    m_entries.clear();
    m_next = 0;
    m_bytes = 0;
}

}  // namespace ui::qt
