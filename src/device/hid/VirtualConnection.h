// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A host-side open of one collection of a virtual device.
#include <memory>

#include "device/hid/HidConnection.h"
#include "device/hid/HidBackend.h"
#include "device/hid/VirtualNode.h"

namespace device {

class VirtualConnection : public HidConnection {
public:
    // Nullptr when the mode cannot be granted (the interface is held exclusively).
    static std::shared_ptr<VirtualConnection> Create(std::shared_ptr<VirtualNode> node, int interfaceNumber,
                                                     const HidOpenMode& mode);
    ~VirtualConnection() override;

    const HidConnectionInfo& Info() const override { return info_; }
    int ReadableFd() const override { return reader_ ? reader_->fd() : -1; }
    HidReadStatus TryRead(std::span<uint8_t> buffer, size_t& length) override;
    bool Write(std::span<const uint8_t> report) override;
    bool SetFeature(std::span<const uint8_t> report) override;
    bool SetOutput(std::span<const uint8_t> report) override;
    bool GetFeature(std::span<uint8_t> report, size_t& length) override;

private:
    VirtualConnection(std::shared_ptr<VirtualNode> node, int interfaceNumber, const HidOpenMode& mode);

    std::shared_ptr<VirtualNode> node_;
    const int interface_;
    const HidOpenMode mode_;
    HidConnectionInfo info_;
    std::shared_ptr<VirtualReader> reader_;
    bool writer_ = false;
};

}  // namespace device
