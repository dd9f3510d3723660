// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/VirtualBackend.h"

#include "device/hid/HidPath.h"
#include "device/hid/VirtualConnection.h"

namespace device {

namespace {

class VirtualChangeMonitor : public HidChangeMonitor {
public:
    explicit VirtualChangeMonitor(std::shared_ptr<platform::Event> changed) : changed_(std::move(changed)) {}
    int fd() const override { return changed_->fd(); }
    bool TakeChanges() override {
        if (!changed_->IsSet()) return false;
        changed_->Reset();
        return true;
    }

private:
    std::shared_ptr<platform::Event> changed_;
};

}  // namespace

bool VirtualBackend::Enumerate(std::vector<std::string>& paths) {
    paths.clear();
    for (const auto& node : state_->Nodes()) {
        for (auto& path : node->Paths()) paths.push_back(std::move(path));
    }
    return true;
}

std::shared_ptr<VirtualNode> VirtualBackend::NodeOf(const std::string& path, int& interfaceNumber) const {
    auto node = state_->Find(HidPath::Node(path));
    if (!node || node->Unplugged()) return nullptr;
    const auto& identity = node->Identity();
    // The tokens must still describe this node: a stale path names nothing.
    if (HidPath::VendorId(path) != identity.vendorId || HidPath::ProductId(path) != identity.productId) {
        return nullptr;
    }
    interfaceNumber = node->Composite() ? HidPath::InterfaceNumber(path) : identity.interfaces.front().number;
    const HidReportDescriptor* descriptor = node->Descriptor(interfaceNumber);
    if (!descriptor) return nullptr;
    const size_t collection = HidPath::CollectionNumber(path);
    if (collection > descriptor->Collections().size()) return nullptr;
    return node;
}

std::shared_ptr<HidConnection> VirtualBackend::Open(const std::string& path, const HidOpenMode& mode) {
    int interfaceNumber = 0;
    auto node = NodeOf(path, interfaceNumber);
    if (!node) return nullptr;
    return VirtualConnection::Create(std::move(node), interfaceNumber, mode);
}

bool VirtualBackend::IsPresent(const std::string& path) {
    int interfaceNumber = 0;
    return NodeOf(path, interfaceNumber) != nullptr;
}

std::unique_ptr<HidChangeMonitor> VirtualBackend::WatchChanges() {
    return std::make_unique<VirtualChangeMonitor>(state_->AddWatcher());
}

}  // namespace device
