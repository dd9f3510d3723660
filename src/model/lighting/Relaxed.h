// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A value that the light thread, the input listener and the UI thread share without a
// lock. Every load and store is a relaxed atomic: a reader may see a value a pass old
// (a torn colour in the preview is harmless), but never a data race.
#include <atomic>

namespace lighting {

template <typename T>
class Relaxed {
public:
    constexpr Relaxed(T value = T{}) noexcept : value_(value) {}
    Relaxed(const Relaxed& other) noexcept : value_(other.load()) {}
    Relaxed& operator=(const Relaxed& other) noexcept {
        store(other.load());
        return *this;
    }
    Relaxed& operator=(T value) noexcept {
        store(value);
        return *this;
    }
    operator T() const noexcept { return load(); }

    T load() const noexcept { return value_.load(std::memory_order_relaxed); }
    void store(T value) noexcept { value_.store(value, std::memory_order_relaxed); }
    // Replaces the value with change(value) as one step. A store that another thread makes
    // in between is not overwritten: the change starts over from it.
    template <typename Change>
    void update(Change change) noexcept {
        T old = load();
        while (!value_.compare_exchange_weak(old, change(old), std::memory_order_relaxed)) {
        }
    }

private:
    std::atomic<T> value_;
};

}  // namespace lighting
