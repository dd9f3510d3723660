// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What lies beneath the keys' lights, kept per repainted rectangle. A lit preview changes
// only the tinted light images many times a second; with the picture under them kept, a
// frame copies it back and draws the lights over it, instead of drawing every background,
// key cap and legend again. Any other change in a rectangle forgets what was kept there.
// With the picture, the lights drawn over it are kept: the controls that drew them, so a
// frame asks those alone instead of walking the whole tree down to them.
#include <QImage>
#include <QRect>

#include <cstddef>
#include <memory>
#include <vector>

#include "ui/qt/QtRenderTarget.h"

namespace ui::qt {

class QtUnderlayCache {
public:
    // Rectangles larger than this are not kept (an exposed window is not a key).
    static bool Worth(const QRect& rect) { return rect.width() * rect.height() <= kMaxPixels; }

    struct Kept {
        QImage image;
        // Who drew the lights over `image`; empty until the first lights pass noted them,
        // or when they cannot be asked alone (a container draws a light: its children
        // would be drawn twice).
        std::vector<QtRenderTarget::OverlayDrawer> drawers;
        bool drawersNoted = false;
        // `image` dimmed beneath the one light drawn over it, at the level `dimmedFor`
        // (-1: not made): a light that changes only its colour is then only added.
        QImage dimmed;
        int dimmedFor = -1;
    };
    // What is kept for exactly `rect`, or null.
    Kept* Find(const QRect& rect);
    Kept& Keep(const QRect& rect, QImage image);
    // Something else changed in `rect`: what was kept where it reaches is stale.
    void Drop(const QRect& rect);
    void Clear();
    size_t Count() const { return m_entries.size(); }

private:
    static constexpr int kMaxPixels = 160 * 160;
    // Counted twice for each picture: once more for its dimmed copy.
    static constexpr qsizetype kLimitBytes = 4 * 1024 * 1024;
    // Every frame looks up each repainted key's rectangle, in the same order as the frame
    // before: the search starts after the last one found. The rectangles lie side by side
    // for the search; what is kept for them stays where it is while others come and go.
    struct Entry {
        QRect rect;
        std::unique_ptr<Kept> kept;
    };
    std::vector<Entry> m_entries;
    size_t m_next = 0;  // where the next search starts
    qsizetype m_bytes = 0;
};

}  // namespace ui::qt
