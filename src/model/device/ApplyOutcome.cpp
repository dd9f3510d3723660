// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/ApplyOutcome.h"

namespace model {

std::string ApplyOutcome::MessageKey() const {
    if (macros > 0) return "message_text_16";
    if (keys == Keys::TableUnknown || keys == Keys::Failed) return "message_keys_not_written";
    if (macros < 0) return "message_text_7";
    return {};
}

}  // namespace model
