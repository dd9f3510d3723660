// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/LightBlend.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace ui::qt {

namespace {

// c * a / 255 rounded, for c and a up to 255, as the painter's own blending does it, so a
// light blended here matches one the painter drew.
inline std::uint32_t Mul255(std::uint32_t c, std::uint32_t a) {
    const std::uint32_t t = c * a + 128;
    return (t + (t >> 8)) >> 8;
}

// Each byte of `x` times a / 255.
inline std::uint32_t ByteMul(std::uint32_t x, std::uint32_t a) {
    return Mul255(x >> 24, a) << 24 | Mul255((x >> 16) & 0xFF, a) << 16 |
           Mul255((x >> 8) & 0xFF, a) << 8 | Mul255(x & 0xFF, a);
}

// The shape's pixel coloured with a tint that is not opaque: the tint's share and the
// shape's own colour, over the shape's alpha.
inline std::uint32_t PartlyTinted(std::uint32_t pixel, std::uint32_t tint) {
    const std::uint32_t a = pixel >> 24;
    const std::uint32_t ta = tint >> 24, keep = 255 - ta;
    const std::uint32_t scale = ta * a;
    const auto mix = [&](int shift) {
        const std::uint32_t t = (tint >> shift) & 0xFF, own = (pixel >> shift) & 0xFF;
        return ((t * scale + own * keep * 255 + 255 * 255 / 2) / (255 * 255)) << shift;
    };
    return a << 24 | mix(16) | mix(8) | mix(0);
}

// A shape pixel's alpha scaled by `weight` (0..255).
inline std::uint32_t WeightedAlpha(std::uint32_t pixel, std::uint32_t weight) {
    const std::uint32_t a = pixel >> 24;
    return weight == 255 ? a : Mul255(a, weight);
}

// One pixel of a light of colour `solid` (opaque) over `out`, the light's alpha `a` already
// weighted.
inline std::uint32_t SolidOver(std::uint32_t solid, std::uint32_t a, std::uint32_t out) {
    return ByteMul(solid, a) + ByteMul(out, 255 - a);
}

#ifdef __SSE2__
// Mul255 on eight 16-bit lanes.
inline __m128i Mul255x8(__m128i c, __m128i a) {
    const __m128i t = _mm_add_epi16(_mm_mullo_epi16(c, a), _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
}

// Each pixel's alpha in all four of its 16-bit lanes (two pixels).
inline __m128i AlphaLanes(__m128i pixels16) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(pixels16, 0xFF), 0xFF);
}

// The alphas of four pixels of a light's shape, weighted, each in the lanes of its pixel:
// the first two pixels' in `lo`, the last two's in `hi`.
inline void WeightedAlphas(__m128i shape, __m128i weight16, bool weighted, __m128i& lo,
                           __m128i& hi) {
    const __m128i zero = _mm_setzero_si128();
    lo = AlphaLanes(_mm_unpacklo_epi8(shape, zero));
    hi = AlphaLanes(_mm_unpackhi_epi8(shape, zero));
    if (weighted) {
        lo = Mul255x8(lo, weight16);
        hi = Mul255x8(hi, weight16);
    }
}

// Four pixels of an opaque light's shape over four of the frame: the same sums as SolidOver.
inline __m128i SolidOverx4(__m128i shape, __m128i out, __m128i solid16, __m128i weight16,
                           bool weighted) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i full = _mm_set1_epi16(255);
    __m128i aLo, aHi;
    WeightedAlphas(shape, weight16, weighted, aLo, aHi);
    const __m128i lo = _mm_add_epi16(Mul255x8(solid16, aLo),
                                     Mul255x8(_mm_unpacklo_epi8(out, zero), _mm_sub_epi16(full, aLo)));
    const __m128i hi = _mm_add_epi16(Mul255x8(solid16, aHi),
                                     Mul255x8(_mm_unpackhi_epi8(out, zero), _mm_sub_epi16(full, aHi)));
    return _mm_packus_epi16(lo, hi);
}
#endif

}  // namespace

namespace {

// Where `part` of a shape placed at `at` falls inside `bounds`, and the part that falls.
bool Place(const QImage& shape, QRect& part, QPoint at, const QRect& bounds, QRect& dest) {
    part = part.intersected(shape.rect());
    dest = QRect(at, part.size()).intersected(bounds);
    if (dest.isEmpty()) return false;
    part = QRect(part.topLeft() + (dest.topLeft() - at), dest.size());
    return true;
}

}  // namespace

void DimBeneathLight(const QImage& beneath, const QImage& shape, QRect part, QPoint at,
                     int opacity, QImage& dimmed) {
    if (dimmed.size() != beneath.size() || dimmed.format() != beneath.format())
        dimmed = QImage(beneath.size(), beneath.format());
    const qsizetype rowBytes = static_cast<qsizetype>(beneath.width()) * 4;
    for (int y = 0; y < beneath.height(); ++y)
        std::memcpy(dimmed.scanLine(y), beneath.constScanLine(y), rowBytes);
    QRect dest;
    if (opacity <= 0 || !Place(shape, part, at, dimmed.rect(), dest)) return;
    const std::uint32_t weight = static_cast<std::uint32_t>(std::min(opacity, 255));
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    const __m128i full = _mm_set1_epi16(255);
    const __m128i weight16 = _mm_set1_epi16(static_cast<short>(weight));
#endif
    for (int y = 0; y < dest.height(); ++y) {
        const auto* in = reinterpret_cast<const std::uint32_t*>(shape.constScanLine(part.top() + y)) +
                         part.left();
        auto* out = reinterpret_cast<std::uint32_t*>(dimmed.scanLine(dest.top() + y)) + dest.left();
        int x = 0;
#ifdef __SSE2__
        for (; x + 4 <= dest.width(); x += 4) {
            __m128i aLo, aHi;
            WeightedAlphas(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x)), weight16,
                           weight != 255, aLo, aHi);
            auto* o = reinterpret_cast<__m128i*>(out + x);
            const __m128i d = _mm_loadu_si128(o);
            const __m128i lo = Mul255x8(_mm_unpacklo_epi8(d, zero), _mm_sub_epi16(full, aLo));
            const __m128i hi = Mul255x8(_mm_unpackhi_epi8(d, zero), _mm_sub_epi16(full, aHi));
            _mm_storeu_si128(o, _mm_packus_epi16(lo, hi));
        }
#endif
        for (; x < dest.width(); ++x) out[x] = ByteMul(out[x], 255 - WeightedAlpha(in[x], weight));
    }
}

void AddLight(const QImage& dimmed, const QImage& shape, QRect part, QPoint at, Color tint,
              int opacity, const PixelRows& frame) {
    const int width = std::min(dimmed.width(), frame.width);
    const int height = std::min(dimmed.height(), frame.height);
    QRect dest;
    const bool lit = opacity > 0 && Place(shape, part, at, QRect(0, 0, width, height), dest);
    const std::uint32_t weight = static_cast<std::uint32_t>(std::clamp(opacity, 0, 255));
    const std::uint32_t solid = 0xFF000000u | (tint & 0xFFFFFFu);
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    const __m128i solid16 = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(solid)), zero);
    const __m128i weight16 = _mm_set1_epi16(static_cast<short>(weight));
#endif
    for (int y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const std::uint32_t*>(dimmed.constScanLine(y));
        auto* out = reinterpret_cast<std::uint32_t*>(frame.bits + y * frame.stride);
        if (!lit || y < dest.top() || y > dest.bottom()) {
            std::memcpy(out, from, static_cast<size_t>(width) * 4);
            continue;
        }
        std::memcpy(out, from, static_cast<size_t>(dest.left()) * 4);
        const int right = dest.left() + dest.width();
        std::memcpy(out + right, from + right, static_cast<size_t>(width - right) * 4);
        const auto* in = reinterpret_cast<const std::uint32_t*>(
                             shape.constScanLine(part.top() + y - dest.top())) +
                         part.left();
        from += dest.left();
        out += dest.left();
        int x = 0;
#ifdef __SSE2__
        for (; x + 4 <= dest.width(); x += 4) {
            __m128i aLo, aHi;
            WeightedAlphas(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x)), weight16,
                           weight != 255, aLo, aHi);
            const __m128i light =
                _mm_packus_epi16(Mul255x8(solid16, aLo), Mul255x8(solid16, aHi));
            // Premultiplied: the light and what is left beneath it never pass 255.
            const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_adds_epu8(d, light));
        }
#endif
        for (; x < dest.width(); ++x) out[x] = from[x] + ByteMul(solid, WeightedAlpha(in[x], weight));
    }
}

void BlendTintedOver(const QImage& shape, QRect part, Color tint, int opacity, QImage& frame,
                     QPoint at) {
    if (opacity <= 0 || (tint >> 24) == 0) return;
    if (opacity > 255) opacity = 255;
    QRect dest;
    if (!Place(shape, part, at, frame.rect(), dest)) return;
    const std::uint32_t weight = static_cast<std::uint32_t>(opacity);
    const bool weighted = weight != 255;
    const bool opaqueTint = (tint >> 24) == 0xFF;
    const std::uint32_t solid = 0xFF000000u | (tint & 0xFFFFFFu);
    const uchar* inBits = shape.constBits();
    uchar* outBits = frame.bits();
    const qsizetype inStride = shape.bytesPerLine(), outStride = frame.bytesPerLine();
#ifdef __SSE2__
    const __m128i solid16 = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(solid)),
                                              _mm_setzero_si128());
    const __m128i weight16 = _mm_set1_epi16(static_cast<short>(weight));
#endif
    for (int y = 0; y < dest.height(); ++y) {
        const auto* in =
            reinterpret_cast<const std::uint32_t*>(inBits + (part.top() + y) * inStride) +
            part.left();
        auto* out =
            reinterpret_cast<std::uint32_t*>(outBits + (dest.top() + y) * outStride) +
            dest.left();
        int x = 0;
        if (opaqueTint) {
#ifdef __SSE2__
            for (; x + 4 <= dest.width(); x += 4) {
                const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x));
                // Nothing of the light in these four (premultiplied: all zero).
                if (_mm_movemask_epi8(_mm_cmpeq_epi32(s, _mm_setzero_si128())) == 0xFFFF)
                    continue;
                auto* o = reinterpret_cast<__m128i*>(out + x);
                _mm_storeu_si128(o, SolidOverx4(s, _mm_loadu_si128(o), solid16, weight16,
                                                weighted));
            }
#endif
            for (; x < dest.width(); ++x) {
                if ((in[x] >> 24) != 0) out[x] = SolidOver(solid, WeightedAlpha(in[x], weight), out[x]);
            }
            continue;
        }
        for (; x < dest.width(); ++x) {
            if ((in[x] >> 24) == 0) continue;
            std::uint32_t s = PartlyTinted(in[x], tint);
            if (weighted) s = ByteMul(s, weight);
            out[x] = s + ByteMul(out[x], 255 - (s >> 24));
        }
    }
}

}  // namespace ui::qt
