// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What closing the main window does. With a tray icon the window goes to the tray and the
// program stays, as ever. Without one nothing would bring a hidden window back but
// starting the program again, so the program ends, unless a background duty keeps it
// useful: then it stays hidden and says so once per run (a notice the user can turn off
// for good), since the user may well expect it to have ended.
namespace app {

struct CloseSituation {
    bool trayShown = true;         // a tray host shows the program's icon
    bool backgroundDuty = false;   // some door's work needs the program running
    bool noticeGiven = false;      // the notice was shown earlier in this run
    bool noticeTurnedOff = false;  // the user ticked "don't show again"
};

enum class CloseOutcome {
    HideToTray,      // hide; the tray icon brings it back
    HideWithNotice,  // hide, after telling the user how to get the window back
    HideQuietly,     // hide; the user already knows
    Exit,            // end the program as the tray's "exit" does
};

CloseOutcome DecideClose(const CloseSituation& situation);

}  // namespace app
