// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The check of the settings window's update page, run on a worker thread: the service is
// asked about the products, a few at a time, and each answer is reported as soon as it is
// in. Every request has a limit of its own and the whole check one more: when that runs
// out, the rows still waiting are reported as unanswered, so every entry ends in a final
// state however slowly the service answers. The stop event ends the check at once,
// requests under way included, and nothing more is reported.
#include <cstddef>
#include <functional>
#include <vector>

#include "update/UpdateInfo.h"
#include "update/UpdateProduct.h"
#include "update/UpdateService.h"

namespace platform {
class Event;
}

namespace update {

class UpdateCheck {
public:
    // Called with the row's index and the service's answer, one call at a time, from the
    // check's own threads (not necessarily in row order).
    using Report = std::function<void(std::size_t index, UpdateInfo info)>;

    struct Limits {
        int requestMs = 10000;
        int wholeMs = 30000;
        std::size_t concurrent = 4;
    };

    // Asks about every row; returns false when stopped before the end.
    static bool Run(const std::vector<UpdateProduct>& rows, const UpdateService& service,
                    platform::Event& stop, const Report& report);
    static bool Run(const std::vector<UpdateProduct>& rows, const UpdateService& service,
                    platform::Event& stop, const Report& report, const Limits& limits);
};

}  // namespace update
