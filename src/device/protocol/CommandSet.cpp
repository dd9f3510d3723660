// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/protocol/CommandSet.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "device/protocol/ResultCode.h"

namespace device {

namespace {

constexpr std::size_t kOffsetRange = 0x10000;

bool FitsOffsets(std::size_t base, std::size_t length) {
    return base <= kOffsetRange && length <= kOffsetRange - base;
}

}  // namespace

bool CommandSet::Usable() const {
    return channel_.IsOpen() &&
           (connection_ == CommandChannel::kAnyConnection || connection_ == channel_.Connection());
}

bool CommandSet::Ready() {
    if (!Usable() || linkLost_) return false;
    if (!channel_.LinkChecked()) return true;
    linkLost_ = !QueryLink();
    return !linkLost_;
}

int CommandSet::Exchange(CommandCode code, std::uint8_t byte4, std::uint16_t offset,
                         std::span<const std::uint8_t> payload, Lock lock, Report& reply) {
    const Report request =
        ReportFrame::MakeRequest(static_cast<std::uint8_t>(code), byte4, offset, payload);
    reply.fill(0);
    std::size_t read = 0;
    int result = kResultNoReply;
    switch (lock) {
        case Lock::Command: {
            std::lock_guard guard(channel_.CommandLock());
            result = channel_.Transfer(request.data(), request.size(), reply.data(), reply.size(),
                                       &read, connection_);
            break;
        }
        case Lock::Stream: {
            std::lock_guard guard(channel_.StreamLock());
            result = channel_.Transfer(request.data(), request.size(), reply.data(), reply.size(),
                                       &read, connection_);
            break;
        }
        case Lock::None:
            result = channel_.Transfer(request.data(), request.size(), reply.data(), reply.size(),
                                       &read, connection_);
            break;
    }
    if (result != kResultSuccess) return result;
    if (reply[7] == 0xFF) return kResultStatusFF;
    if (reply[7] == 0xFE) return kResultStatusFE;
    return kResultSuccess;
}

int CommandSet::ReadChunks(CommandCode code, std::span<std::uint8_t> out, std::size_t base) {
    if (!Ready() || !FitsOffsets(base, out.size())) return kResultNoReply;
    const std::size_t chunk = channel_.ChunkSize();
    Report reply{};
    for (std::size_t p = 0; p < out.size(); p += chunk) {
        const std::size_t n = std::min(chunk, out.size() - p);
        const int result = Exchange(code, static_cast<std::uint8_t>(n),
                                    static_cast<std::uint16_t>(base + p), {}, Lock::Command, reply);
        if (result != kResultSuccess) return result;
        std::copy_n(reply.begin() + kPayloadOffset, n,
                    out.begin() + static_cast<std::ptrdiff_t>(p));
    }
    return kResultSuccess;
}

int CommandSet::WriteChunks(CommandCode code, std::span<const std::uint8_t> data, std::size_t base,
                            std::size_t chunk, Lock lock) {
    if (!Ready() || !FitsOffsets(base, data.size())) return kResultNoReply;
    Report reply{};
    for (std::size_t p = 0; p < data.size(); p += chunk) {
        const std::size_t n = std::min(chunk, data.size() - p);
        const int result =
            Exchange(code, static_cast<std::uint8_t>(n), static_cast<std::uint16_t>(base + p),
                     data.subspan(p, n), lock, reply);
        if (result != kResultSuccess) return result;
    }
    return kResultSuccess;
}

int CommandSet::Simple(CommandCode code) {
    if (!Ready()) return kResultNoReply;
    Report reply{};
    return Exchange(code, 0, 0, {}, Lock::Command, reply);
}

int CommandSet::BeginConfig() {
    return Simple(CommandCode::BeginConfig);
}

int CommandSet::EndConfig(int /*ignored*/) {
    if (!Ready()) return kResultNoReply;
    // The device needs a moment after the last write of a sequence.
    std::this_thread::sleep_for(std::chrono::milliseconds(kEndConfigPauseMs));
    Report reply{};
    return Exchange(CommandCode::EndConfig, 0, 0, {}, Lock::Command, reply);
}

int CommandSet::ReadDeviceInfo(DeviceInfo& info) {
    return ReadChunks(CommandCode::ReadDeviceInfo, info, 0);
}

int CommandSet::ReadSettingsMemory(std::span<std::uint8_t> out, std::uint16_t base) {
    return ReadChunks(CommandCode::ReadSettingsMemory, out, base);
}

int CommandSet::WriteSettingsMemory(std::span<const std::uint8_t> data, std::uint16_t base) {
    return WriteChunks(CommandCode::WriteSettingsMemory, data, base, channel_.ChunkSize(),
                       Lock::Command);
}

int CommandSet::ReadKeyTable(std::span<std::uint8_t> out) {
    const std::size_t n = channel_.TransferLength();
    if (out.size() < n) return kResultNoReply;
    return ReadChunks(CommandCode::ReadKeyTable, out.first(n), 0);
}

int CommandSet::WriteKeyTable(std::span<const std::uint8_t> data, int tableIndex) {
    if (tableIndex != 0) return kResultBadTableIndex;
    const std::size_t n = channel_.TransferLength();
    if (data.size() < n) return kResultNoReply;
    return WriteChunks(CommandCode::WriteKeyTable, data.first(n), 0, channel_.ChunkSize(),
                       Lock::Command);
}

int CommandSet::ReadLedMap(std::span<std::uint8_t> out) {
    const std::size_t n = channel_.TransferLength() / 3u;
    if (out.size() < n) return kResultNoReply;
    return ReadChunks(CommandCode::ReadLedMap, out.first(n), 0);
}

int CommandSet::StreamColours(std::span<const std::uint8_t> data, int page, int pageSize) {
    if (page < 0 || pageSize < 0) return kResultNoReply;
    const std::size_t base = static_cast<std::size_t>(page) * static_cast<std::size_t>(pageSize);
    return WriteChunks(CommandCode::StreamColours, data, base, channel_.ChunkSize(), Lock::Stream);
}

int CommandSet::WriteMacroImage(std::span<const std::uint8_t> data) {
    return WriteChunks(CommandCode::WriteMacroImage, data, 0, channel_.ChunkSize(), Lock::Command);
}

int CommandSet::WriteRecoilImage(std::span<const std::uint8_t> data) {
    return WriteChunks(CommandCode::WriteRecoilImage, data, 0, kChunkSize, Lock::None);
}

int CommandSet::ReadStatusBlock(std::span<std::uint8_t> out, std::uint16_t offset) {
    if (out.size() > kChunkSize || !Ready()) return kResultNoReply;
    Report reply{};
    const int result = Exchange(CommandCode::ReadStatusBlock, static_cast<std::uint8_t>(out.size()),
                                offset, {}, Lock::Command, reply);
    if (result != kResultSuccess) return result;
    std::copy_n(reply.begin() + kPayloadOffset, out.size(), out.begin());
    return kResultSuccess;
}

int CommandSet::EnableHostLighting() {
    return Simple(CommandCode::EnableHostLighting);
}

bool CommandSet::QueryLink() {
    Report reply{};
    const int result = Exchange(CommandCode::QueryLink, 0, 0, {}, Lock::Command, reply);
    return result == kResultSuccess && reply[kPayloadOffset] == 0xFF;
}

}  // namespace device
