#pragma once
// The check of the settings window's update page, run on a worker thread: the service is
// asked about each product in turn and each answer is reported as soon as it is in. The
// stop event ends the check at once, a request under way included.
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
    // Called on the worker thread with the row's index and the service's answer.
    using Report = std::function<void(std::size_t index, UpdateInfo info)>;

    // Asks about every row, in order; returns false when stopped before the end.
    static bool Run(const std::vector<UpdateProduct>& rows, const UpdateService& service,
                    const platform::Event& stop, const Report& report);
};

}  // namespace update
