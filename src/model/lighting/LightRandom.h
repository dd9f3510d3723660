// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The random numbers of the effects: a small linear congruential generator with the
// C library's range (0-32767) and its default seed, so that a run is repeatable from a
// seed. Used by the light thread only.
#include <cstdint>

namespace lighting {

class LightRandom {
public:
    static constexpr int kMax = 32767;

    explicit LightRandom(uint32_t seed = 1) : state_(seed) {}
    void Seed(uint32_t seed) { state_ = seed; }
    int Next() {
        state_ = state_ * 1103515245u + 12345u;
        return static_cast<int>((state_ >> 16) & kMax);
    }

private:
    uint32_t state_;
};

}  // namespace lighting
