// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The HidBackend of the virtual bus.
#include <memory>

#include "device/hid/HidBackend.h"
#include "device/hid/VirtualBusState.h"

namespace device {

class VirtualBackend : public HidBackend {
public:
    explicit VirtualBackend(std::shared_ptr<VirtualBusState> state) : state_(std::move(state)) {}

    bool Enumerate(std::vector<std::string>& paths) override;
    std::shared_ptr<HidConnection> Open(const std::string& path, const HidOpenMode& mode) override;
    bool IsPresent(const std::string& path) override;
    std::unique_ptr<HidChangeMonitor> WatchChanges() override;

private:
    std::shared_ptr<VirtualNode> NodeOf(const std::string& path, int& interfaceNumber) const;

    std::shared_ptr<VirtualBusState> state_;
};

}  // namespace device
