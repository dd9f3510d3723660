// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One device's vendor command collection and the 64-byte request/reply exchange on it
// (frame layout in ReportFrame.h).
//
// Transfer contract:
//  - returns kResultSuccess (1) when the request was written and a reply read,
//    kResultNoReply (0) when the channel is not open or no reply was read in time, and
//    kResultWriteFailed (-1) when the request could not be written in time; the device's
//    status byte is left to the command layer (CommandSet);
//  - the request is always sent as 64 bytes: the given bytes, the rest zero;
//  - a reply whose byte 3 does not repeat the request's is skipped once and a second read
//    made; when that one does not repeat it either, the result is kResultNoReply (the
//    reply buffer then holds the stray report);
//  - each write and each read waits at most TimeLimitMs(): the normal limit, or the long
//    one when SetLongTimeLimit(true) (defaults 1000 and 5000 ms);
//  - with a trace sink on, each request is traced as "命令" and each reply as "返回",
//    each followed by two lines of 32 bytes; a closed channel traces nothing;
//  - before the request goes out, whatever input reports already wait on the channel are
//    read and dropped (at most kMaxDrained of this collection's, with every report of
//    the interface's other collections): a reply that came after its request timed out
//    would otherwise be taken as the answer to the next request with the same code,
//    and on hidraw the interface's event reports (key presses) queue on this descriptor
//    too, where a burst of them could push the reply out of the kernel's 64-report queue;
//  - a transfer bound to a connection (`connection` nonzero, see Connection()) sends
//    nothing unless that connection is still the open one: work queued for a keyboard
//    that was unplugged never reaches the keyboard plugged in after it.
//
// Locks, always taken in this order: CommandLock() or StreamLock(), then IoLock().
// IoLock() is held around each write together with the reads of its reply (so exchanges
// of the stream and of other commands never interleave on the wire), and by the owner
// while it opens or closes the device, so an exchange never overlaps an open or a close;
// it is never held while waiting for a command lock.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "device/hid/HidDevice.h"
#include "platform/Event.h"

namespace device {

class CommandChannel {
public:
    struct TimeLimits {
        int normalMs = 1000;
        int longMs = 5000;
    };
    static constexpr std::uint16_t kMaxTransferLength = 512;

    // A null backend means HidBackend::Default() as it is now.
    explicit CommandChannel(std::shared_ptr<HidBackend> backend = nullptr);
    ~CommandChannel();
    CommandChannel(const CommandChannel&) = delete;
    CommandChannel& operator=(const CommandChannel&) = delete;

    // The owner's side: open the collection for reading and writing (shared) under
    // IoLock() and raise the open flag; Close() lowers the flag first, ends a waiting
    // read or write at once (and any exchange still on its way to one), then closes
    // under IoLock().
    bool Open(const std::string& path);
    void Close();

    bool IsOpen() const { return open_.load() != 0; }
    // Numbers each opening of the channel (1, 2, ...): the connection now open, or the
    // one last open. 0 before the first open.
    std::uint64_t Connection() const { return connection_.load(); }
    // For an owner that opens and closes Device() itself (under IoLock()).
    void SetOpen(bool open);

    // Refused (0) above 512, keeping the old length; stored otherwise (1).
    int SetTransferLength(unsigned length);
    std::uint16_t TransferLength() const { return transferLength_.load(); }

    bool Busy() const { return busy_.load() > 0; }  // inside Transfer, on any thread
    std::int32_t SyncFlag() const { return sync_.load(); }
    void SetSyncFlag(std::int32_t value) { sync_.store(value); }
    bool LongTimeLimit() const { return longTimeLimit_.load() != 0; }
    void SetLongTimeLimit(bool on) { longTimeLimit_.store(on ? 1 : 0); }
    // A device behind a link (a receiver): every command is preceded by the link query
    // (see CommandSet).
    bool LinkChecked() const { return linkChecked_.load(); }
    void SetLinkChecked(bool on) { linkChecked_.store(on); }
    void SetTimeLimits(TimeLimits limits);
    int TimeLimitMs() const;
    std::uint8_t ChunkSize() const { return 56; }

    static constexpr int kMaxDrained = 256;
    static constexpr std::uint64_t kAnyConnection = 0;

    int Transfer(const std::uint8_t* request, std::size_t requestLength, std::uint8_t* reply,
                 std::size_t replyLength, std::size_t* bytesRead,
                 std::uint64_t connection = kAnyConnection);
    // Reports read and dropped before requests since the channel was made.
    std::uint64_t DrainedReports() const { return drained_.load(); }

    HidDevice& Device() { return device_; }
    std::mutex& IoLock() { return ioLock_; }
    std::mutex& CommandLock() { return commandLock_; }
    std::mutex& StreamLock() { return streamLock_; }

private:
    static void TraceFrame(const char* label, const std::uint8_t* bytes, std::size_t length);
    // Caller holds ioLock_.
    bool Current(std::uint64_t connection) const;
    void DrainStaleReports();

    HidDevice device_;
    std::atomic<std::uint16_t> transferLength_{kMaxTransferLength};
    std::atomic<int> busy_{0};  // transfers in progress: the stream and a command may overlap
    std::atomic<std::int32_t> open_{0};
    std::atomic<std::uint64_t> connection_{0};
    std::atomic<std::uint64_t> drained_{0};
    std::atomic<std::int32_t> sync_{0};
    std::atomic<std::int32_t> longTimeLimit_{0};
    std::atomic<bool> linkChecked_{false};
    std::atomic<int> normalLimitMs_{1000};
    std::atomic<int> longLimitMs_{5000};
    std::mutex ioLock_;
    std::mutex commandLock_;
    std::mutex streamLock_;
    platform::Event closing_{platform::Event::Mode::ManualReset};  // set by Close, cuts waits
};

}  // namespace device
