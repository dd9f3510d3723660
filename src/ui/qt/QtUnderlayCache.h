#pragma once
// What lies beneath the keys' lights, kept per repainted rectangle. A lit preview changes
// only the tinted light images many times a second; with the picture under them kept, a
// frame copies it back and draws the lights over it, instead of drawing every background,
// key cap and legend again. Any other change in a rectangle forgets what was kept there.
#include <QImage>
#include <QRect>

#include <map>
#include <tuple>

namespace ui::qt {

class QtUnderlayCache {
public:
    // Rectangles larger than this are not kept (an exposed window is not a key).
    static bool Worth(const QRect& rect) { return rect.width() * rect.height() <= kMaxPixels; }

    // The image kept for exactly `rect`, or null.
    const QImage* Find(const QRect& rect) const;
    void Keep(const QRect& rect, QImage image);
    // Something else changed in `rect`: what was kept where it reaches is stale.
    void Drop(const QRect& rect);
    void Clear();
    size_t Count() const { return m_images.size(); }

private:
    static constexpr int kMaxPixels = 160 * 160;
    static constexpr qsizetype kLimitBytes = 2 * 1024 * 1024;
    struct Less {
        bool operator()(const QRect& a, const QRect& b) const {
            return std::make_tuple(a.top(), a.left(), a.bottom(), a.right()) <
                   std::make_tuple(b.top(), b.left(), b.bottom(), b.right());
        }
    };
    std::map<QRect, QImage, Less> m_images;
    qsizetype m_bytes = 0;
};

}  // namespace ui::qt
