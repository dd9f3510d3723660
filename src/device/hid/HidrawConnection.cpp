// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/HidrawConnection.h"

#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace device {

HidrawConnection::HidrawConnection(int fd, HidConnectionInfo info, bool numbered)
    : fd_(fd), info_(std::move(info)), numbered_(numbered), readable_(fd >= 0) {}

HidrawConnection::~HidrawConnection() {
    if (fd_ >= 0) ::close(fd_);
}

HidReadStatus HidrawConnection::TryRead(std::span<uint8_t> buffer, size_t& length) {
    length = 0;
    if (fd_ < 0 || buffer.size() < 2) return HidReadStatus::Gone;
    uint8_t* into = numbered_ ? buffer.data() : buffer.data() + 1;
    const size_t room = numbered_ ? buffer.size() : buffer.size() - 1;
    for (;;) {
        ssize_t n = ::read(fd_, into, room);
        if (n == 0) return HidReadStatus::Gone;  // hidraw never sends an empty report
        if (n > 0) {
            if (!numbered_) buffer[0] = 0;
            length = static_cast<size_t>(n) + (numbered_ ? 0 : 1);
            return HidReadStatus::GotReport;
        }
        if (errno == EINTR) continue;
        if (errno == EAGAIN) return HidReadStatus::WouldBlock;
        return HidReadStatus::Gone;  // ENODEV, EIO: the device went away
    }
}

bool HidrawConnection::Write(std::span<const uint8_t> report) {
    if (fd_ < 0 || report.empty()) return false;
    for (;;) {
        // Blocks until the transfer is done, whatever O_NONBLOCK says.
        ssize_t n = ::write(fd_, report.data(), report.size());
        if (n >= 0) return static_cast<size_t>(n) == report.size();
        if (errno != EINTR) return false;
    }
}

bool HidrawConnection::SetFeature(std::span<const uint8_t> report) {
    if (fd_ < 0 || report.empty()) return false;
    return ::ioctl(fd_, HIDIOCSFEATURE(report.size()), report.data()) >= 0;
}

bool HidrawConnection::SetOutput(std::span<const uint8_t> report) {
    if (fd_ < 0 || report.empty()) return false;
#ifdef HIDIOCSOUTPUT
    if (::ioctl(fd_, HIDIOCSOUTPUT(report.size()), report.data()) >= 0) return true;
    // An older kernel or a driver without the request: the interrupt pipe will do.
    if (errno != ENOTTY && errno != EINVAL && errno != EOPNOTSUPP) return false;
#endif
    return Write(report);
}

bool HidrawConnection::GetFeature(std::span<uint8_t> report, size_t& length) {
    length = 0;
    if (fd_ < 0 || report.empty()) return false;
    int n = ::ioctl(fd_, HIDIOCGFEATURE(report.size()), report.data());
    if (n < 0) return false;
    length = static_cast<size_t>(n);
    return true;
}

}  // namespace device
