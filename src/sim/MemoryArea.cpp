// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/MemoryArea.h"

#include <algorithm>

namespace sim {

MemoryArea::MemoryArea(std::size_t size, Bounds bounds, std::span<const std::uint8_t> initial)
    : bytes_(size, 0), bounds_(bounds) {
    std::copy_n(initial.begin(), std::min(initial.size(), size), bytes_.begin());
}

bool MemoryArea::Read(std::size_t offset, std::span<std::uint8_t> out) const {
    const bool fits = offset <= bytes_.size() && out.size() <= bytes_.size() - offset;
    if (!fits && bounds_ == Bounds::Strict) return false;
    std::fill(out.begin(), out.end(), 0);
    if (offset < bytes_.size()) {
        const std::size_t n = std::min(out.size(), bytes_.size() - offset);
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), n, out.begin());
    }
    return true;
}

bool MemoryArea::Write(std::size_t offset, std::span<const std::uint8_t> data) {
    const bool fits = offset <= bytes_.size() && data.size() <= bytes_.size() - offset;
    if (!fits && bounds_ == Bounds::Strict) return false;
    std::size_t kept = 0;
    if (offset < bytes_.size()) {
        kept = std::min(data.size(), bytes_.size() - offset);
        std::copy_n(data.begin(), kept, bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
    }
    dropped_ += data.size() - kept;
    ++writes_;
    return true;
}

}  // namespace sim
