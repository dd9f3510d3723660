// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The device commands, each sent over a CommandChannel as one or more report exchanges.
//
// Every command returns a result code (ResultCode.h): kResultSuccess, kResultNoReply
// (channel closed: nothing is sent), kResultWriteFailed, kResultStatusFF/FE when the
// device answered with that status, kResultBadTableIndex; QueryLink answers a truth.
//
// Bulk commands move N bytes in reports of at most 56: report k carries
// min(56, N - 56k) in byte 4 and base + 56k in bytes 5-6; the first failing report ends
// the command with its result, and a read then leaves the rest of the buffer as it was.
// Buffers are spans and are never read or written past their end: a read into, or a
// write from, a buffer shorter than the command's length, and a range that does not fit
// the 16-bit offset, send nothing and return kResultNoReply.
//
// Locks: CommandLock() around each report exchange, released between the reports of a
// bulk command; StreamColours takes StreamLock() instead and WriteRecoilImage none.
//
// A command set bound to a connection (the channel's Connection() when it was made)
// sends nothing once that connection has closed, even when the channel opens again.
//
// On a link-checked channel (CommandChannel::LinkChecked) every command but QueryLink
// first sends QueryLink; once a query answers that the link is down, this command set
// sends nothing more and every command returns kResultNoReply: the operation it serves is
// abandoned, not half sent over a link that comes and goes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/protocol/CommandChannel.h"
#include "device/protocol/CommandCode.h"
#include "device/protocol/ReportFrame.h"

namespace device {

class CommandSet {
public:
    static constexpr std::size_t kDeviceInfoSize = 34;
    static constexpr int kEndConfigPauseMs = 10;
    using DeviceInfo = std::array<std::uint8_t, kDeviceInfoSize>;

    explicit CommandSet(CommandChannel& channel,
                        std::uint64_t connection = CommandChannel::kAnyConnection)
        : channel_(channel), connection_(connection) {}

    CommandChannel& Channel() { return channel_; }
    std::uint64_t BoundConnection() const { return connection_; }
    // Open, and (when bound) still on the connection it was bound to.
    bool Usable() const;

    int BeginConfig();
    int EndConfig(int ignored = 0);  // waits kEndConfigPauseMs before sending
    int ReadDeviceInfo(DeviceInfo& info);
    int ReadSettingsMemory(std::span<std::uint8_t> out, std::uint16_t base);
    int WriteSettingsMemory(std::span<const std::uint8_t> data, std::uint16_t base);
    // Move the channel's transfer length (ReadLedMap a third of it) from offset 0.
    int ReadKeyTable(std::span<std::uint8_t> out);
    int WriteKeyTable(std::span<const std::uint8_t> data, int tableIndex);  // only index 0
    int ReadLedMap(std::span<std::uint8_t> out);
    int StreamColours(std::span<const std::uint8_t> data, int page, int pageSize);
    int WriteMacroImage(std::span<const std::uint8_t> data);
    int WriteRecoilImage(std::span<const std::uint8_t> data);
    // out.size() bytes (at most 56) from one report.
    int ReadStatusBlock(std::span<std::uint8_t> out, std::uint16_t offset);
    int EnableHostLighting();
    bool QueryLink();
    // A link query failed on this command set (see above).
    bool LinkLost() const { return linkLost_; }

private:
    // Usable, and on a link-checked channel the link is up (one query).
    bool Ready();
    enum class Lock { Command, Stream, None };

    int Exchange(CommandCode code, std::uint8_t byte4, std::uint16_t offset,
                 std::span<const std::uint8_t> payload, Lock lock, Report& reply);
    int ReadChunks(CommandCode code, std::span<std::uint8_t> out, std::size_t base);
    int WriteChunks(CommandCode code, std::span<const std::uint8_t> data, std::size_t base,
                    std::size_t chunk, Lock lock);
    int Simple(CommandCode code);

    CommandChannel& channel_;
    std::uint64_t connection_;
    bool linkLost_ = false;
};

}  // namespace device
