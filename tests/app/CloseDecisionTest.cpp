// SPDX-License-Identifier: GPL-3.0-or-later
// What closing the main window does with and without a tray, and with the work that may
// keep the program running in the background.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/BackgroundDuties.h"
#include "app/CloseDecision.h"

namespace app {
namespace {

CloseOutcome Close(bool tray, bool duty, bool given = false, bool turnedOff = false) {
    return DecideClose(CloseSituation{tray, duty, given, turnedOff});
}

TEST(CloseDecision, WithATrayTheWindowAlwaysGoesToTheTray) {
    for (bool duty : {false, true}) {
        for (bool given : {false, true}) {
            for (bool off : {false, true}) {
                EXPECT_EQ(Close(true, duty, given, off), CloseOutcome::HideToTray)
                    << duty << given << off;
            }
        }
    }
}

TEST(CloseDecision, WithoutATrayTheProgramEndsUnlessABackgroundDutyKeepsIt) {
    // Nothing to bring the window back and nothing to do: whatever the notice's state.
    EXPECT_EQ(Close(false, false), CloseOutcome::Exit);
    EXPECT_EQ(Close(false, false, true, true), CloseOutcome::Exit);
    // A duty keeps it, told once per run, and never once the user turned the notice off.
    EXPECT_EQ(Close(false, true), CloseOutcome::HideWithNotice);
    EXPECT_EQ(Close(false, true, true, false), CloseOutcome::HideQuietly);
    EXPECT_EQ(Close(false, true, false, true), CloseOutcome::HideQuietly);
}

TEST(BackgroundDuties, AreActiveOnlyWhileAClaimSaysSoAndGoWithTheirRelease) {
    BackgroundDuties duties;
    EXPECT_FALSE(duties.AnyActive());
    bool serverRunning = false;
    duties.Claim("sdk-server", [&serverRunning] { return serverRunning; });
    duties.Claim("profile-rules", [] { return true; });
    duties.Claim("empty", nullptr);  // a claim without a check is never active
    EXPECT_TRUE(duties.AnyActive());
    EXPECT_EQ(duties.ActiveNames(), std::vector<std::string>{"profile-rules"});

    // Asked at each decision, not remembered from the claim.
    serverRunning = true;
    EXPECT_EQ(duties.ActiveNames(), (std::vector<std::string>{"sdk-server", "profile-rules"}));

    // A second claim under one name replaces the first rather than adding a duty.
    duties.Claim("sdk-server", [] { return false; });
    duties.Release("profile-rules");
    EXPECT_FALSE(duties.AnyActive());
    EXPECT_TRUE(duties.ActiveNames().empty());
    duties.Release("never-claimed");
    duties.Claim("sdk-server", [] { return true; });
    EXPECT_EQ(duties.ActiveNames(), std::vector<std::string>{"sdk-server"});
}

}  // namespace
}  // namespace app
