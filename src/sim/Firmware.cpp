// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Firmware.h"

#include <algorithm>
#include <vector>

namespace sim {

namespace {

constexpr std::size_t kPayload = 8;
constexpr std::size_t kMaxChunk = 56;
constexpr std::size_t kStatusAreaSize = 56;  // one report's worth; the first 6 bytes are used

std::vector<std::uint8_t> KeyTableOf(const SimDeviceDefinition& def) {
    std::vector<std::uint8_t> table;
    table.reserve(def.keySlots.size() * 3);
    for (const SimKeySlot& slot : def.keySlots) {
        table.insert(table.end(), {slot.type, slot.byte1, slot.byte0});
    }
    return table;
}

std::vector<std::uint8_t> LedMapOf(const SimDeviceDefinition& def) {
    std::vector<std::uint8_t> map;
    map.reserve(def.keySlots.size());
    for (const SimKeySlot& slot : def.keySlots) map.push_back(slot.led);
    return map;
}

std::size_t OffsetOf(const Frame& f) {
    return static_cast<std::size_t>(f[5] | f[6] << 8);
}

void Seal(Frame& frame) {
    const std::uint16_t sum = Firmware::Checksum(frame);
    frame[1] = static_cast<std::uint8_t>(sum & 0xFF);
    frame[2] = static_cast<std::uint8_t>(sum >> 8);
}

}  // namespace

Firmware::Firmware(const SimDeviceDefinition& def)
    : info_(def.infoBlock.size(), Area::Bounds::Strict, def.infoBlock),
      settings_(def.settingsSize, Area::Bounds::Strict, def.settingsDefaults),
      keyTable_(def.keySlots.size() * 3, Area::Bounds::Strict, KeyTableOf(def)),
      keyLayout_(def.keySlots.size() * 3, Area::Bounds::Strict, KeyTableOf(def)),
      ledMap_(def.keySlots.size(), Area::Bounds::Strict, LedMapOf(def)),
      macros_(def.MacroCapacity(), Area::Bounds::Clip),
      colours_(def.colourPages * def.colourPageSize, Area::Bounds::Strict),
      recoil_(def.recoilSize, Area::Bounds::Strict),
      status_(kStatusAreaSize, Area::Bounds::Strict, def.statusBlock),
      readback_(def.keyTableReadback) {}

std::uint16_t Firmware::Checksum(const Frame& frame) {
    unsigned sum = 0;
    for (std::size_t i = 3; i < frame.size(); ++i) sum += frame[i];
    return static_cast<std::uint16_t>(sum);
}

Frame Firmware::StatusReply(const Frame& request, std::uint8_t status) {
    Frame reply{};
    reply[0] = request[0];
    std::copy_n(request.begin() + 3, 4, reply.begin() + 3);
    reply[7] = status;
    Seal(reply);
    return reply;
}

Frame Firmware::Handle(const Frame& request) {
    const std::uint16_t claimed = static_cast<std::uint16_t>(request[1] | request[2] << 8);
    if (claimed != Checksum(request)) return StatusReply(request, kStatusBadChecksum);

    Frame reply = StatusReply(request, kStatusOk);
    std::uint8_t status = kStatusOk;
    switch (request[3]) {
        case 1:
            inConfig_ = true;
            break;
        case 2:
            inConfig_ = false;
            ++endConfigs_;
            break;
        case 3:
            status = ReadArea(info_, request, reply);
            break;
        case 5:
            status = ReadArea(settings_, request, reply);
            break;
        case 6:
            status = WriteArea(settings_, request);
            break;
        case 7:
            status = ReadArea(readback_ == KeyTableReadback::Written ? keyTable_ : keyLayout_,
                              request, reply);
            break;
        case 9:
            status = WriteArea(keyTable_, request);
            break;
        case 11:
            status = WriteArea(colours_, request);
            break;
        case 21:
            status = WriteArea(macros_, request);
            break;
        case 23:
            status = WriteArea(recoil_, request);
            break;
        case 26:
            status = ReadArea(status_, request, reply);
            break;
        case 27:
            status = ReadArea(ledMap_, request, reply);
            break;
        case 28:
            hostLighting_ = true;
            break;
        case 170:
            reply[kPayload] = linkUp_ ? 0xFF : 0xFE;
            break;
        default:
            status = kStatusRefused;
            break;
    }
    if (status != kStatusOk) return StatusReply(request, status);
    reply[7] = status;
    Seal(reply);
    return reply;
}

std::uint8_t Firmware::ReadArea(const Area& area, const Frame& request, Frame& reply) const {
    const std::size_t length = request[4];
    if (length > kMaxChunk) return kStatusRefused;
    std::span<std::uint8_t> out(reply.data() + kPayload, length);
    return area.Read(OffsetOf(request), out) ? kStatusOk : kStatusRefused;
}

std::uint8_t Firmware::WriteArea(Area& area, const Frame& request) {
    const std::size_t length = request[4];
    if (length > kMaxChunk) return kStatusRefused;
    std::span<const std::uint8_t> data(request.data() + kPayload, length);
    return area.Write(OffsetOf(request), data) ? kStatusOk : kStatusRefused;
}

void Firmware::SetActiveProfile(std::uint8_t index) {
    const std::uint8_t byte[1] = {index};
    settings_.Write(0, byte);
}

bool Firmware::WriteSettingsOnDevice(std::size_t offset, std::span<const std::uint8_t> data) {
    return settings_.Write(offset, data);
}

}  // namespace sim
