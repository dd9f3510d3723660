// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One memory area of the simulated firmware. A strict area refuses an access that does
// not fit whole; a clipping area (the macro memory) accepts everything and keeps what fits,
// counting the bytes it could not hold.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace sim {

class MemoryArea {
public:
    enum class Bounds { Strict, Clip };

    MemoryArea(std::size_t size, Bounds bounds, std::span<const std::uint8_t> initial = {});

    // False (and nothing read or written) when a strict area cannot hold the range.
    // A clipping area reads 0 past its end.
    bool Read(std::size_t offset, std::span<std::uint8_t> out) const;
    bool Write(std::size_t offset, std::span<const std::uint8_t> data);

    std::span<const std::uint8_t> Bytes() const { return bytes_; }
    std::size_t Size() const { return bytes_.size(); }
    std::size_t DroppedBytes() const { return dropped_; }
    std::size_t WriteCount() const { return writes_; }

private:
    std::vector<std::uint8_t> bytes_;
    Bounds bounds_;
    std::size_t dropped_ = 0;
    std::size_t writes_ = 0;
};

}  // namespace sim
