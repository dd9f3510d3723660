// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the virtual bus and its backend share: the plugged nodes and the change
// watchers. Outlives the VirtualBus object while a backend or connection still uses it.
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "device/hid/VirtualNode.h"
#include "platform/Event.h"

namespace device {

class VirtualBusState {
public:
    std::shared_ptr<VirtualNode> Find(std::string_view nodeName) const;
    std::vector<std::shared_ptr<VirtualNode>> Nodes() const;
    int Insert(std::shared_ptr<VirtualHidDevice> device, VirtualDeviceIdentity identity,
               std::map<int, HidReportDescriptor> descriptors, std::shared_ptr<VirtualNode>& node);
    std::shared_ptr<VirtualNode> Remove(const VirtualHidDevice& device);

    std::shared_ptr<platform::Event> AddWatcher();
    void NotifyChange();

private:
    mutable std::mutex mutex_;
    std::map<int, std::shared_ptr<VirtualNode>> nodes_;
    int nextNumber_ = 0;
    std::vector<std::weak_ptr<platform::Event>> watchers_;
};

}  // namespace device
