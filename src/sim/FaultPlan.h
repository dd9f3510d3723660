// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Faults a test arms on a simulated device. Each fault waits for a matching request
// (any command, or one code), lets `skip` matching requests pass first, then acts on the
// next `times` matching requests and is gone.
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

namespace sim {

struct Fault {
    enum class Kind {
        NoReply,         // the request is lost: not acted on, not answered
        WrongEchoFirst,  // `strays` replies echoing another command come before the real one
        StatusFF,        // answered with status 0xFF, not acted on
        StatusFE,        // answered with status 0xFE, not acted on
        SlowReply,       // acted on, answered after delayMs
        Unplug,          // the device is pulled out instead of answering
        StallWrite,      // the host's write is held delayMs (negative: until unplugged);
                         // the request is then acted on and answered
    };
    Kind kind = Kind::NoReply;
    int command = -1;  // -1: any command
    int skip = 0;
    int times = 1;
    int delayMs = 0;
    int strays = 1;
};

class FaultPlan {
public:
    void Arm(const Fault& fault);
    void Clear();
    bool Empty() const;
    // The fault that acts on a request with this command code, if any; the first armed
    // fault that matches takes it.
    std::optional<Fault> Take(std::uint8_t command);

private:
    mutable std::mutex mutex_;
    std::deque<Fault> faults_;
};

}  // namespace sim
