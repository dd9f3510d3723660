// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CloseDecision.h"

namespace app {

CloseOutcome DecideClose(const CloseSituation& situation) {
    if (situation.trayShown) return CloseOutcome::HideToTray;
    if (!situation.backgroundDuty) return CloseOutcome::Exit;
    if (situation.noticeGiven || situation.noticeTurnedOff) return CloseOutcome::HideQuietly;
    return CloseOutcome::HideWithNotice;
}

}  // namespace app
