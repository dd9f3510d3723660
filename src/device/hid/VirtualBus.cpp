// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/VirtualBus.h"

#include "device/hid/VirtualBackend.h"
#include "device/hid/VirtualBusState.h"

namespace device {

VirtualBus::VirtualBus() : state_(std::make_shared<VirtualBusState>()) {}

VirtualBus::~VirtualBus() { UnplugAll(); }

int VirtualBus::Plug(std::shared_ptr<VirtualHidDevice> device) {
    if (!device || device->IsPlugged()) return -1;
    VirtualDeviceIdentity identity = device->Identity();
    if (identity.interfaces.empty()) return -1;
    std::map<int, HidReportDescriptor> descriptors;
    for (const auto& i : identity.interfaces) {
        auto parsed = HidReportDescriptor::Parse(i.reportDescriptor);
        if (!parsed || descriptors.count(i.number)) return -1;
        descriptors.emplace(i.number, std::move(*parsed));
    }
    std::shared_ptr<VirtualNode> node;
    auto* raw = device.get();
    const int number = state_->Insert(std::move(device), std::move(identity), std::move(descriptors), node);
    if (number < 0) return -1;
    raw->Attach(node);
    raw->OnPlugged();
    state_->NotifyChange();
    return number;
}

bool VirtualBus::Unplug(VirtualHidDevice& device) {
    auto node = state_->Remove(device);
    if (!node) return false;
    node->MarkUnplugged();
    device.Detach();
    device.OnUnplugged();
    state_->NotifyChange();
    return true;
}

void VirtualBus::UnplugAll() {
    for (const auto& node : state_->Nodes()) Unplug(node->Device());
}

std::vector<std::string> VirtualBus::PathsOf(const VirtualHidDevice& device) const {
    for (const auto& node : state_->Nodes()) {
        if (&node->Device() == &device) return node->Paths();
    }
    return {};
}

std::shared_ptr<HidBackend> VirtualBus::Backend() const { return std::make_shared<VirtualBackend>(state_); }

}  // namespace device
