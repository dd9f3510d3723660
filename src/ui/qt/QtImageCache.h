// SPDX-License-Identifier: GPL-3.0-or-later
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

// What makes one laid-out image besides the picture's name: the part of the picture and
// how it is stretched, and the size and scale it is laid out at.
struct ComposedShape {
    Color mask = 0;
    int source[4] = {};  // x, y, width, height
    int corner[4] = {};  // left, top, right, bottom
    bool hole = false;
    bool xTiled = false;
    bool yTiled = false;
    int width = 0;
    int height = 0;
    int dpi = 96;
    auto operator<=>(const ComposedShape&) const = default;
};

// What makes one piece of drawn text besides its words and font name: how it looks and
// the box it fills.
struct TextShape {
    Color color = 0;
    int size = 0;
    bool bold = false;
    bool underline = false;
    bool italic = false;
    unsigned style = 0;
    int width = 0;
    int height = 0;
    int dpi = 96;
    int pixelRatioPercent = 100;
    auto operator<=>(const TextShape&) const = default;
};

// A cache key: a shape and up to two names. Looked up with views of the names, so that
// drawing a frame allocates no key; kept with owned copies.
template <typename Shape, typename Text>
struct NamedKey {
    Shape shape;
    Text name;
    Text font;
};
template <typename Shape>
struct NamedKeyLess {
    using is_transparent = void;
    template <typename A, typename B>
    bool operator()(const A& a, const B& b) const {
        if (const auto c = a.shape <=> b.shape; c != 0) return c < 0;
        if (const auto c = std::string_view(a.name) <=> std::string_view(b.name); c != 0)
            return c < 0;
        return std::string_view(a.font) < std::string_view(b.font);
    }
};
using ComposedKey = NamedKey<ComposedShape, std::string_view>;
using TextKey = NamedKey<TextShape, std::string_view>;

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
        return Remember(m_composed, m_composedBytes, kComposedLimitBytes, key, make);
    }
    // A short text already drawn into its box, made by `make` the first time. Shaping
    // text is the costly part of drawing a key's legend, and a lit preview redraws every
    // key many times a second. Only boxes up to kTextLimitPixels are kept.
    static bool TextFits(int width, int height) {
        return width > 0 && height > 0 && width * height <= kTextLimitPixels;
    }
    template <typename Make>
    const QImage& Text(const TextKey& key, Make&& make) {
        return Remember(m_texts, m_textBytes, kTextLimitBytes, key, make);
    }
    // Forget everything (the skin folder or its files changed).
    void Clear() {
        m_images.clear();
        m_composed.clear();
        m_composedBytes = 0;
        m_texts.clear();
        m_textBytes = 0;
        m_tinted.clear();
        m_tintedBytes = 0;
    }
    size_t TextCount() const { return m_texts.size(); }
    // `source` coloured with `tint` by `make(out)`. A lit preview draws many keys in the
    // same colour (all of them, in the colour cycle), so the few colours of a frame are
    // kept; the cache forgets everything when it grows past its limit.
    template <typename Make>
    const QImage& Tinted(const QImage& source, Color tint, Make&& make) {
        const auto key = std::make_pair(source.cacheKey(), tint);
        auto it = m_tinted.find(key);
        if (it != m_tinted.end()) return it->second;
        QImage image;
        make(image);
        const qsizetype bytes = image.sizeInBytes();
        if (m_tintedBytes + bytes > kTintedLimitBytes) {
            m_tinted.clear();
            m_tintedBytes = 0;
        }
        m_tintedBytes += bytes;
        return m_tinted.emplace(key, std::move(image)).first->second;
    }
    size_t Size() const { return m_images.size(); }
    size_t ComposedCount() const { return m_composed.size(); }

private:
    template <typename Shape>
    using Store = std::map<NamedKey<Shape, std::string>, QImage, NamedKeyLess<Shape>>;

    // The image kept for `key`, made and kept the first time; a store that would grow past
    // `limit` bytes forgets everything first.
    template <typename Shape, typename Make>
    static const QImage& Remember(Store<Shape>& store, qsizetype& bytes, qsizetype limit,
                                  const NamedKey<Shape, std::string_view>& key, Make& make) {
        auto it = store.find(key);
        if (it != store.end()) return it->second;
        QImage image = make();
        if (bytes + image.sizeInBytes() > limit) {
            store.clear();
            bytes = 0;
        }
        bytes += image.sizeInBytes();
        NamedKey<Shape, std::string> owned{key.shape, std::string(key.name), std::string(key.font)};
        return store.emplace(std::move(owned), std::move(image)).first->second;
    }

    static constexpr qsizetype kComposedLimitBytes = 48 * 1024 * 1024;
    static constexpr int kTextLimitPixels = 128 * 128;
    static constexpr qsizetype kTextLimitBytes = 2 * 1024 * 1024;
    static constexpr qsizetype kTintedLimitBytes = 1024 * 1024;
    struct NameMaskLess {
        using is_transparent = void;
        template <typename A, typename B>
        bool operator()(const A& a, const B& b) const {
            if (const auto c = std::string_view(a.first) <=> std::string_view(b.first); c != 0)
                return c < 0;
            return a.second < b.second;
        }
    };
    std::map<std::pair<std::string, Color>, QImage, NameMaskLess> m_images;
    Store<ComposedShape> m_composed;
    qsizetype m_composedBytes = 0;
    Store<TextShape> m_texts;
    qsizetype m_textBytes = 0;
    std::map<std::pair<qint64, Color>, QImage> m_tinted;
    qsizetype m_tintedBytes = 0;
};

}  // namespace ui::qt
