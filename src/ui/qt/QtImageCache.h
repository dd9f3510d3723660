#pragma once
// Skin images decoded once and kept for the life of the cache. Names resolve against the
// skin folder (absolute paths stay as they are); a mask colour makes the pixels of that
// colour transparent, as older skins mark their backgrounds. A file that cannot be read
// is remembered as missing, so a broken skin costs one failed read, not one per frame.
#include <QImage>

#include <compare>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "ui/UIDefs.h"

namespace ui::qt {

// What makes one laid-out image: the picture, the part of it and how it is stretched,
// and the size and scale it is laid out at.
struct ComposedKey {
    std::string image;
    Color mask = 0;
    int source[4] = {};  // x, y, width, height
    int corner[4] = {};  // left, top, right, bottom
    bool hole = false;
    bool xTiled = false;
    bool yTiled = false;
    int width = 0;
    int height = 0;
    int dpi = 96;
    auto operator<=>(const ComposedKey&) const = default;
};

class QtImageCache {
public:
    // The decoded image (premultiplied ARGB), or a null image when unreadable.
    const QImage& Get(std::string_view name, Color mask = 0);
    // An image already laid out at its destination size (nine parts stretched, tiles
    // repeated), made by `make` the first time `key` is asked for. Scaling is the costly
    // part of drawing a skin image, and a running preview draws the same keys at the same
    // sizes many times a second. The cache forgets everything when it grows past its limit.
    template <typename Make>
    const QImage& Composed(const ComposedKey& key, Make&& make) {
        auto it = m_composed.find(key);
        if (it != m_composed.end()) return it->second;
        QImage image = make();
        const qsizetype bytes = image.sizeInBytes();
        if (m_composedBytes + bytes > kComposedLimitBytes) {
            m_composed.clear();
            m_composedBytes = 0;
        }
        m_composedBytes += bytes;
        return m_composed.emplace(key, std::move(image)).first->second;
    }
    // Forget everything (the skin folder or its files changed).
    void Clear() {
        m_images.clear();
        m_composed.clear();
        m_composedBytes = 0;
    }
    size_t Size() const { return m_images.size(); }
    size_t ComposedCount() const { return m_composed.size(); }

private:
    static constexpr qsizetype kComposedLimitBytes = 48 * 1024 * 1024;
    std::map<std::pair<std::string, Color>, QImage> m_images;
    std::map<ComposedKey, QImage> m_composed;
    qsizetype m_composedBytes = 0;
};

}  // namespace ui::qt
