// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every handler that writes a profile or its keys tells the user when the write
// completes: why nothing, or not everything, reached the device (the macros did not fit or
// could not be prepared, the key table is not known or the device stopped answering).
#include <string>

#include "model/device/ApplyOutcome.h"
#include "panels/IPanelShell.h"

namespace panels {

// Shows the outcome's message, if it has one; true when the apply went through.
inline bool ReportApply(IPanelShell& shell, const model::ApplyOutcome& outcome) {
    shell.ApplyReported(outcome);
    const std::string key = outcome.MessageKey();
    if (!key.empty()) shell.ShowFormattedMessage(key, outcome.MessageNumber());
    return !outcome.Stopped();
}

}  // namespace panels
