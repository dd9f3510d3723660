// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A simulated device declared as data: identity, USB interfaces with their report
// descriptors, and the contents its firmware starts with. The keyboard and the mouse pad
// are two such records (DeviceCatalog); tests declare odd devices the same way.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

inline constexpr std::uint8_t kNoLed = 0xFF;

struct SimInterface {
    int number = 0;                              // USB interface number
    std::vector<std::uint8_t> reportDescriptor;  // as the device returns it
};

// One entry of the device's key table as it leaves the factory, in the device's own slot
// order, with the LED the slot lights (kNoLed for a matrix cell without a key).
struct SimKeySlot {
    std::uint8_t type = 0;
    std::uint8_t byte1 = 0;
    std::uint8_t byte0 = 0;
    std::uint8_t led = kNoLed;
};

// What a read of the key table (command 7) answers. Whether the real keyboard reports its
// factory layout or the assignments written to it is not known, so the host is tried
// against both: Layout, the fixed factory entry per slot (the keys can always be found
// again), or Written, the table as the host last wrote it (a remapped key no longer
// carries its factory entry).
enum class KeyTableReadback { Layout, Written };

// An answer the device gave that the firmware model would not have given (a status, data
// of a command the model does not know, a late reply): a device built from a capture
// gives it again to the same request, byte for byte, instead of the model's.
struct SimRecordedReply {
    std::array<std::uint8_t, 64> request{};
    bool answered = true;  // false: the device did not answer at all
    std::array<std::uint8_t, 64> reply{};
    int delayMs = 0;
};

struct SimDeviceDefinition {
    std::string name;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t releaseNumber = 0;  // bcdDevice
    std::vector<SimInterface> interfaces;
    bool composite = false;  // non-HID interfaces besides (see VirtualDeviceIdentity)

    int configInterface = 1;           // interface carrying the vendor and consumer collections
    std::uint8_t commandReportId = 4;  // vendor collection, 63 data bytes each way
    std::uint8_t eventReportId = 3;    // consumer collection, one 16-bit usage

    // Information block; byte 5 (key slots) must equal keySlots.size() and byte 6 sets the
    // macro memory in units of 128 bytes.
    std::array<std::uint8_t, 34> infoBlock{};
    std::vector<SimKeySlot> keySlots;
    KeyTableReadback keyTableReadback = KeyTableReadback::Layout;  // settable at run time

    std::size_t settingsSize = 0;                // settings memory; byte 0 = active profile
    std::vector<std::uint8_t> settingsDefaults;  // the first bytes of it, the rest 0
    std::size_t colourPages = 0;                 // pages of colourPageSize bytes
    std::size_t colourPageSize = 512;
    std::size_t recoilSize = 0;  // 0: the device has no recoil memory
    std::array<std::uint8_t, 6> statusBlock{};
    bool sendsKeyEvents = false;  // key press/release on the consumer collection
    // Output reports of this id on the configuration interface set the device's LEDs from
    // the host; they are kept apart from the wire log (SimDevice::LedReports). 0: none.
    std::uint8_t ledReportId = 0;

    std::vector<SimRecordedReply> recordedReplies;  // matched before the firmware answers

    std::size_t MacroCapacity() const { return std::size_t{infoBlock[6]} * 128; }
};

}  // namespace sim
