// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/HidBackend.h"

#include <mutex>

#include "device/hid/HidrawBackend.h"

namespace device {

namespace {

std::mutex& DefaultMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<HidBackend>& DefaultSlot() {
    static std::shared_ptr<HidBackend> backend;
    return backend;
}

}  // namespace

std::shared_ptr<HidBackend> HidBackend::Default() {
    std::lock_guard lock(DefaultMutex());
    auto& slot = DefaultSlot();
    if (!slot) slot = std::make_shared<HidrawBackend>();
    return slot;
}

void HidBackend::SetDefault(std::shared_ptr<HidBackend> backend) {
    std::lock_guard lock(DefaultMutex());
    DefaultSlot() = std::move(backend);
}

}  // namespace device
