#pragma once
// Skin images decoded once and kept for the life of the cache. Names resolve against the
// skin folder (absolute paths stay as they are); a mask colour makes the pixels of that
// colour transparent, as older skins mark their backgrounds. A file that cannot be read
// is remembered as missing, so a broken skin costs one failed read, not one per frame.
#include <QImage>

#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "ui/UIDefs.h"

namespace ui::qt {

class QtImageCache {
public:
    // The decoded image (premultiplied ARGB), or a null image when unreadable.
    const QImage& Get(std::string_view name, Color mask = 0);
    // Forget everything (the skin folder or its files changed).
    void Clear() { m_images.clear(); }
    size_t Size() const { return m_images.size(); }

private:
    std::map<std::pair<std::string, Color>, QImage> m_images;
};

}  // namespace ui::qt
