// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One open hidraw file. Reads are non-blocking; a device that numbers no reports gets a
// 0 put in front of each report read, so byte 0 is always the report id.
#include "device/hid/HidConnection.h"

namespace device {

class HidrawConnection : public HidConnection {
public:
    // fd < 0 for an attributes-only open. Takes ownership of fd.
    HidrawConnection(int fd, HidConnectionInfo info, bool numbered);
    ~HidrawConnection() override;
    HidrawConnection(const HidrawConnection&) = delete;
    HidrawConnection& operator=(const HidrawConnection&) = delete;

    const HidConnectionInfo& Info() const override { return info_; }
    int ReadableFd() const override { return readable_ ? fd_ : -1; }
    HidReadStatus TryRead(std::span<uint8_t> buffer, size_t& length) override;
    bool Write(std::span<const uint8_t> report) override;
    bool SetFeature(std::span<const uint8_t> report) override;
    // HIDIOCSOUTPUT where the kernel has it (5.11 on), else a plain write.
    bool SetOutput(std::span<const uint8_t> report) override;
    bool GetFeature(std::span<uint8_t> report, size_t& length) override;

    void SetReadable(bool readable) { readable_ = readable; }

private:
    int fd_;
    HidConnectionInfo info_;
    bool numbered_;
    bool readable_ = true;
};

}  // namespace device
