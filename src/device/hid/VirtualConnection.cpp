// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/VirtualConnection.h"

namespace device {

VirtualConnection::VirtualConnection(std::shared_ptr<VirtualNode> node, int interfaceNumber,
                                     const HidOpenMode& mode)
    : node_(std::move(node)), interface_(interfaceNumber), mode_(mode) {
    const auto& identity = node_->Identity();
    info_.attributes = {identity.vendorId, identity.productId, identity.releaseNumber};
    info_.interfaceNumber = interfaceNumber;
    for (const auto& i : identity.interfaces) {
        if (i.number == interfaceNumber) info_.reportDescriptor = i.reportDescriptor;
    }
}

std::shared_ptr<VirtualConnection> VirtualConnection::Create(std::shared_ptr<VirtualNode> node,
                                                             int interfaceNumber, const HidOpenMode& mode) {
    std::shared_ptr<VirtualConnection> connection(new VirtualConnection(std::move(node), interfaceNumber, mode));
    if (mode.write) {
        if (!connection->node_->AddWriter(interfaceNumber, mode.exclusive)) return nullptr;
        connection->writer_ = true;
    }
    if (mode.read) connection->reader_ = connection->node_->AddReader(interfaceNumber);
    return connection;
}

VirtualConnection::~VirtualConnection() {
    if (reader_) node_->RemoveReader(interface_, reader_.get());
    if (writer_) node_->RemoveWriter(interface_, mode_.exclusive);
}

HidReadStatus VirtualConnection::TryRead(std::span<uint8_t> buffer, size_t& length) {
    length = 0;
    if (!reader_) return HidReadStatus::Gone;
    return reader_->Take(buffer, length);
}

bool VirtualConnection::Write(std::span<const uint8_t> report) {
    if (!writer_ || node_->Unplugged()) return false;
    const VirtualWriteAck ack = node_->Device().OnOutputReport(interface_, report);
    if (!ack.accepted) return false;
    if (ack.completeAfterMs != 0) {
        // The transfer is held like a slow endpoint would hold it; an unplug ends it.
        if (node_->UnpluggedEvent().Wait(ack.completeAfterMs)) return false;
    }
    return !node_->Unplugged();
}

bool VirtualConnection::SetFeature(std::span<const uint8_t> report) {
    if (node_->Unplugged()) return false;
    return node_->Device().OnSetFeatureReport(interface_, report);
}

bool VirtualConnection::SetOutput(std::span<const uint8_t> report) {
    if (!writer_ || node_->Unplugged()) return false;
    return node_->Device().OnSetOutputReport(interface_, report);
}

bool VirtualConnection::GetFeature(std::span<uint8_t> report, size_t& length) {
    length = 0;
    if (node_->Unplugged() || report.empty()) return false;
    length = node_->Device().OnGetFeatureReport(interface_, report);
    if (length > report.size()) length = report.size();
    return length > 0;
}

}  // namespace device
