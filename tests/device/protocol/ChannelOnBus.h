// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A command channel opened on the vendor collection of a simulated device, and a look
// at what went over the wire.
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "device/hid/VirtualBus.h"
#include "device/protocol/CommandChannel.h"
#include "device/protocol/CommandSet.h"
#include "sim/SimDevice.h"
#include "sim/SimulatedDevices.h"

namespace device::testing {

inline std::string VendorPath(VirtualBus& bus, const sim::SimDevice& dev) {
    for (const std::string& p : bus.PathsOf(dev)) {
        if (p.find("&mi_01&col04") != std::string::npos) return p;
    }
    return {};
}

// The requests a device received, oldest first.
inline std::vector<std::vector<std::uint8_t>> Requests(sim::SimDevice& dev) {
    std::vector<std::vector<std::uint8_t>> out;
    for (const sim::WireEntry& e : dev.Log().Requests()) out.push_back(e.bytes);
    return out;
}

inline unsigned SumOf3To63(const std::vector<std::uint8_t>& r) {
    unsigned sum = 0;
    for (std::size_t i = 3; i < r.size(); ++i) sum += r[i];
    return sum;
}

inline unsigned OffsetOf(const std::vector<std::uint8_t>& r) {
    return r[5] | r[6] << 8u;
}

// Objects that hold locks live on the heap in these tests: ThreadSanitizer cannot see a
// std::mutex on the stack die, and would tie the locks of one test to those of the next
// one that happens to live at the same address.
struct ChannelOnBus {
    VirtualBus bus;
    sim::SimulatedDevices devices = sim::PlugSimulatedDevices(bus);
    sim::SimDevice& keyboard = *devices.keyboard;
    CommandChannel channel{bus.Backend()};
    CommandSet commands{channel};

    explicit ChannelOnBus(bool open = true) {
        if (open) channel.Open(VendorPath(bus, keyboard));
        keyboard.Log().Clear();
    }
};

inline long long MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

}  // namespace device::testing
