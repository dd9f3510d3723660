// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/protocol/CommandChannel.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "device/protocol/ReportFrame.h"
#include "device/protocol/ResultCode.h"
#include "platform/Trace.h"

namespace device {

CommandChannel::CommandChannel(std::shared_ptr<HidBackend> backend) : device_(std::move(backend)) {}

CommandChannel::~CommandChannel() {
    Close();
}

bool CommandChannel::Open(const std::string& path) {
    std::lock_guard lock(ioLock_);
    if (!device_.Open(path, true, true, true, false)) return false;
    SetOpen(true);
    return true;
}

void CommandChannel::SetOpen(bool open) {
    if (open) {
        closing_.Reset();
        ++connection_;
    }
    open_.store(open ? 1 : 0);
}

bool CommandChannel::Current(std::uint64_t connection) const {
    return IsOpen() && (connection == kAnyConnection || connection == connection_.load());
}

void CommandChannel::DrainStaleReports() {
    Report stale{};
    for (int i = 0; i < kMaxDrained; ++i) {
        std::size_t count = 0;
        if (!device_.ReadReport(stale.data(), stale.size(), &count, 0, &closing_)) return;
        ++drained_;
        if (platform::TraceEnabled())
            platform::TraceF("stale report dropped, command %02x\n", count > 3 ? stale[3] : 0);
    }
}

void CommandChannel::Close() {
    SetOpen(false);
    // A reply that will never come must not hold the close up for a whole time limit.
    closing_.Set();
    std::lock_guard lock(ioLock_);
    device_.Close();
}

int CommandChannel::SetTransferLength(unsigned length) {
    if (length > kMaxTransferLength) return kResultNoReply;
    transferLength_.store(static_cast<std::uint16_t>(length));
    return kResultSuccess;
}

void CommandChannel::SetTimeLimits(TimeLimits limits) {
    normalLimitMs_.store(limits.normalMs);
    longLimitMs_.store(limits.longMs);
}

int CommandChannel::TimeLimitMs() const {
    return LongTimeLimit() ? longLimitMs_.load() : normalLimitMs_.load();
}

void CommandChannel::TraceFrame(const char* label, const std::uint8_t* bytes, std::size_t length) {
    if (!platform::TraceEnabled()) return;
    Report frame{};
    std::memcpy(frame.data(), bytes, std::min(length, kReportSize));
    platform::Trace(label);
    platform::Trace("\n");
    platform::Trace(ReportFrame::TraceLine(std::span<const std::uint8_t, 32>(frame.data(), 32)) +
                    "\n");
    platform::Trace(
        ReportFrame::TraceLine(std::span<const std::uint8_t, 32>(frame.data() + 32, 32)) + "\n");
}

int CommandChannel::Transfer(const std::uint8_t* request, std::size_t requestLength,
                             std::uint8_t* reply, std::size_t replyLength, std::size_t* bytesRead,
                             std::uint64_t connection) {
    struct BusyScope {
        std::atomic<int>& count;
        explicit BusyScope(std::atomic<int>& c) : count(c) { ++count; }
        ~BusyScope() { --count; }
    } busy(busy_);
    if (bytesRead) *bytesRead = 0;
    int result = kResultNoReply;
    if (!Current(connection) || !request || !reply) return result;

    Report out{};
    std::memcpy(out.data(), request, std::min(requestLength, kReportSize));

    const int limit = TimeLimitMs();
    std::size_t count = 0;
    {
        // One lock over the write and its reads: a colour stream and a command running
        // side by side would otherwise each read the other's reply and lose their own.
        std::lock_guard lock(ioLock_);
        // Checked again under the lock: a close (or a close and a new open) may have come
        // between the check above and here.
        if (!Current(connection)) return kResultNoReply;
        DrainStaleReports();
        TraceFrame("命令", out.data(), out.size());
        std::size_t written = 0;
        if (!device_.WriteReport(out.data(), out.size(), &written, limit, &closing_)) {
            return kResultWriteFailed;
        }
        for (int attempt = 0; attempt < 2; ++attempt) {
            // A read that fails must not leave an earlier reply's echo behind.
            std::memset(reply, 0, replyLength);
            count = 0;
            const bool read = device_.ReadReport(reply, replyLength, &count, limit, &closing_);
            result = read ? kResultSuccess : kResultNoReply;
            if (replyLength > 3 && reply[3] == out[3]) break;
            // Two replies to other requests: this one's never came. Taking the second
            // as ours would hand another command's data to the caller.
            if (attempt == 1) result = kResultNoReply;
        }
    }
    if (bytesRead) *bytesRead = count;
    TraceFrame("返回", reply, replyLength);
    return result;
}

}  // namespace device
