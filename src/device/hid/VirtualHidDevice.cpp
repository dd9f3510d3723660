// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/VirtualHidDevice.h"

#include "device/hid/VirtualNode.h"

namespace device {

VirtualHidDevice::~VirtualHidDevice() = default;

bool VirtualHidDevice::OnSetOutputReport(int interfaceNumber, std::span<const uint8_t> report) {
    return OnOutputReport(interfaceNumber, report).accepted;
}

bool VirtualHidDevice::OnSetFeatureReport(int, std::span<const uint8_t>) { return false; }

size_t VirtualHidDevice::OnGetFeatureReport(int, std::span<uint8_t>) { return 0; }

bool VirtualHidDevice::SendInputReport(int interfaceNumber, std::span<const uint8_t> report) {
    std::shared_ptr<VirtualNode> node;
    {
        std::lock_guard lock(linkMutex_);
        node = node_;
    }
    return node && node->Deliver(interfaceNumber, report);
}

bool VirtualHidDevice::IsPlugged() const {
    std::lock_guard lock(linkMutex_);
    return node_ != nullptr;
}

void VirtualHidDevice::Attach(std::shared_ptr<VirtualNode> node) {
    std::lock_guard lock(linkMutex_);
    node_ = std::move(node);
}

void VirtualHidDevice::Detach() {
    std::lock_guard lock(linkMutex_);
    node_.reset();
}

}  // namespace device
