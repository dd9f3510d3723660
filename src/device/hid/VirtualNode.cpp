// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/VirtualNode.h"

#include <algorithm>

#include "device/hid/HidPath.h"

namespace device {

VirtualNode::VirtualNode(int number, std::shared_ptr<VirtualHidDevice> device,
                         VirtualDeviceIdentity identity, std::map<int, HidReportDescriptor> descriptors)
    : number_(number),
      device_(std::move(device)),
      identity_(std::move(identity)),
      descriptors_(std::move(descriptors)) {}

std::string VirtualNode::NodeName() const { return "vhid" + std::to_string(number_); }

const HidReportDescriptor* VirtualNode::Descriptor(int interfaceNumber) const {
    auto it = descriptors_.find(interfaceNumber);
    return it == descriptors_.end() ? nullptr : &it->second;
}

std::vector<std::string> VirtualNode::Paths() const {
    std::vector<std::string> paths;
    const std::string node = NodeName();
    for (const auto& [number, descriptor] : descriptors_) {
        const size_t count = descriptor.Collections().size();
        for (size_t c = 1; c <= count; ++c) {
            paths.push_back(HidPath::Make(node, identity_.vendorId, identity_.productId,
                                          Composite() ? number : -1, count > 1 ? int(c) : 0));
        }
    }
    return paths;
}

bool VirtualNode::Deliver(int interfaceNumber, std::span<const uint8_t> report) {
    if (Unplugged() || report.empty()) return false;
    const HidReportDescriptor* descriptor = Descriptor(interfaceNumber);
    if (!descriptor) return false;
    const HidCollection* owner = descriptor->CollectionOfReport(HidReportType::Input, report[0]);
    if (!owner || report.size() > owner->ReportByteLength(HidReportType::Input)) return false;
    std::lock_guard lock(mutex_);
    for (auto& reader : interfaces_[interfaceNumber].readers) reader->Push(report);
    return true;
}

std::shared_ptr<VirtualReader> VirtualNode::AddReader(int interfaceNumber) {
    auto reader = std::make_shared<VirtualReader>();
    std::lock_guard lock(mutex_);
    if (Unplugged()) reader->MarkGone();
    interfaces_[interfaceNumber].readers.push_back(reader);
    return reader;
}

void VirtualNode::RemoveReader(int interfaceNumber, const VirtualReader* reader) {
    std::lock_guard lock(mutex_);
    auto& readers = interfaces_[interfaceNumber].readers;
    readers.erase(std::remove_if(readers.begin(), readers.end(),
                                 [reader](const auto& r) { return r.get() == reader; }),
                  readers.end());
}

bool VirtualNode::AddWriter(int interfaceNumber, bool exclusive) {
    std::lock_guard lock(mutex_);
    auto& state = interfaces_[interfaceNumber];
    if (state.exclusive || (exclusive && state.writers > 0)) return false;
    ++state.writers;
    state.exclusive = exclusive;
    return true;
}

void VirtualNode::RemoveWriter(int interfaceNumber, bool exclusive) {
    std::lock_guard lock(mutex_);
    auto& state = interfaces_[interfaceNumber];
    if (state.writers > 0) --state.writers;
    if (exclusive) state.exclusive = false;
}

void VirtualNode::MarkUnplugged() {
    std::lock_guard lock(mutex_);
    unplugged_.Set();
    for (auto& [number, state] : interfaces_) {
        for (auto& reader : state.readers) reader->MarkGone();
    }
}

}  // namespace device
