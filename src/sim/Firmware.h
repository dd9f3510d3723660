// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The firmware shared by every simulated device: it answers the vendor commands from
// the memories its SimDeviceDefinition declares. Pure request-to-reply logic over 64-byte
// reports; not thread-safe (SimDevice serialises it).
//
// Replies repeat bytes 3-6 of the request, carry the status in byte 7 and read data from
// byte 8; bytes 1-2 hold the checksum like a request's. Status: kStatusOk, kStatusBadChecksum
// (0xFF, the request was not acted on) or kStatusRefused (0xFE: unknown command, a length
// above 56, or a range outside a strict area).
#include <array>
#include <cstdint>
#include <span>

#include "sim/MemoryArea.h"
#include "sim/SimDeviceDefinition.h"

namespace sim {

using Frame = std::array<std::uint8_t, 64>;

class Firmware {
public:
    static constexpr std::uint8_t kStatusOk = 0x01;
    static constexpr std::uint8_t kStatusBadChecksum = 0xFF;
    static constexpr std::uint8_t kStatusRefused = 0xFE;

    explicit Firmware(const SimDeviceDefinition& def);

    // The reply to one request (byte 0 = the command report id).
    Frame Handle(const Frame& request);

    static std::uint16_t Checksum(const Frame& frame);  // bytes 3..63
    // A frame carrying `status` for `request` and no data: what a faulty device answers.
    static Frame StatusReply(const Frame& request, std::uint8_t status);

    const MemoryArea& InfoBlock() const { return info_; }
    const MemoryArea& Settings() const { return settings_; }
    // The assignments the host wrote (command 9).
    const MemoryArea& KeyTable() const { return keyTable_; }
    // The factory entry per slot. It never changes; command 7 answers from it while the
    // read-back is KeyTableReadback::Layout, and from KeyTable() while it is Written.
    const MemoryArea& KeyLayout() const { return keyLayout_; }
    const MemoryArea& LedMap() const { return ledMap_; }
    const MemoryArea& MacroMemory() const { return macros_; }
    const MemoryArea& Colours() const { return colours_; }
    const MemoryArea& Recoil() const { return recoil_; }
    const MemoryArea& StatusBlock() const { return status_; }

    bool InConfig() const { return inConfig_; }
    int EndConfigCount() const { return endConfigs_; }
    bool HostLighting() const { return hostLighting_; }
    std::size_t KeySlots() const { return keyTable_.Size() / 3; }

    // A device behind a link (a receiver) answers the link query with 0xFE while the
    // link is down.
    void SetLinkUp(bool up) { linkUp_ = up; }

    KeyTableReadback Readback() const { return readback_; }
    void SetReadback(KeyTableReadback mode) { readback_ = mode; }

    // What the user does with the device's own key combinations.
    void SetActiveProfile(std::uint8_t index);
    bool WriteSettingsOnDevice(std::size_t offset, std::span<const std::uint8_t> data);

private:
    using Area = MemoryArea;
    std::uint8_t ReadArea(const Area& area, const Frame& request, Frame& reply) const;
    static std::uint8_t WriteArea(Area& area, const Frame& request);

    Area info_;
    Area settings_;
    Area keyTable_;
    Area keyLayout_;
    Area ledMap_;
    Area macros_;
    Area colours_;
    Area recoil_;
    Area status_;
    bool inConfig_ = false;
    int endConfigs_ = 0;
    bool hostLighting_ = false;
    bool linkUp_ = true;
    KeyTableReadback readback_;
};

}  // namespace sim
