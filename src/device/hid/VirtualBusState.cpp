// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/VirtualBusState.h"

#include <algorithm>

namespace device {

std::shared_ptr<VirtualNode> VirtualBusState::Find(std::string_view nodeName) const {
    std::lock_guard lock(mutex_);
    for (const auto& [number, node] : nodes_) {
        if (node->NodeName() == nodeName) return node;
    }
    return nullptr;
}

std::vector<std::shared_ptr<VirtualNode>> VirtualBusState::Nodes() const {
    std::lock_guard lock(mutex_);
    std::vector<std::shared_ptr<VirtualNode>> nodes;
    for (const auto& [number, node] : nodes_) nodes.push_back(node);
    return nodes;
}

int VirtualBusState::Insert(std::shared_ptr<VirtualHidDevice> device, VirtualDeviceIdentity identity,
                            std::map<int, HidReportDescriptor> descriptors,
                            std::shared_ptr<VirtualNode>& node) {
    std::lock_guard lock(mutex_);
    for (const auto& [number, existing] : nodes_) {
        if (&existing->Device() == device.get()) return -1;
    }
    const int number = nextNumber_++;
    node = std::make_shared<VirtualNode>(number, std::move(device), std::move(identity), std::move(descriptors));
    nodes_[number] = node;
    return number;
}

std::shared_ptr<VirtualNode> VirtualBusState::Remove(const VirtualHidDevice& device) {
    std::lock_guard lock(mutex_);
    for (auto it = nodes_.begin(); it != nodes_.end(); ++it) {
        if (&it->second->Device() == &device) {
            auto node = it->second;
            nodes_.erase(it);
            return node;
        }
    }
    return nullptr;
}

std::shared_ptr<platform::Event> VirtualBusState::AddWatcher() {
    auto event = std::make_shared<platform::Event>(platform::Event::Mode::ManualReset);
    std::lock_guard lock(mutex_);
    watchers_.erase(std::remove_if(watchers_.begin(), watchers_.end(), [](const auto& w) { return w.expired(); }),
                    watchers_.end());
    watchers_.push_back(event);
    return event;
}

void VirtualBusState::NotifyChange() {
    std::lock_guard lock(mutex_);
    for (const auto& w : watchers_) {
        if (auto event = w.lock()) event->Set();
    }
}

}  // namespace device
