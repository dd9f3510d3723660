// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Asking the user: the one modal message box of the program and the forms its callers
// use. Texts are normally keys of the language file; the box translates them.
//
// Headless runs cannot wait for a user: with MessageBoxScript installed, every box is
// still built and filled as usual, then closed at once with the next scripted answer
// and recorded for the automation to read.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/UIDefs.h"

namespace ui {
class CPaintManagerUI;
}

namespace app {

// Shows the box over `owner` (0 for none) and returns 1 when the user confirmed, 0 when
// they cancelled or closed it. An empty title keeps the layout's; an empty text keeps the
// layout's message. `mode` 0 shows only the confirm button, 1 both, anything else the
// layout's buttons. `markup` lets the message carry the label's simple markup.
int ShowMessage(ui::WindowHandle owner, std::string_view title, std::string_view text, int dpi,
                bool markup, int mode);

// A message given by its language key, as the handlers show them.
int ShowKeyedMessage(ui::WindowHandle owner, std::string_view key, int dpi, int mode);

// A keyed notice (confirm only) offering "don't show again": `turnedOff` becomes whether the
// user left that ticked when the box closed. Returns as ShowMessage does.
int ShowKeyedNotice(ui::WindowHandle owner, std::string_view key, int dpi, bool& turnedOff);

// A message whose translation is a printf-style format taking one number ("Remove at
// least %d events"). The key is translated through the window's "text_test" label, the
// number put in and the result shown without markup (it may hold any character).
int ShowFormattedMessage(ui::WindowHandle owner, ui::CPaintManagerUI& manager, std::string_view key,
                         long long value, int dpi, int mode = 0);

// The translation of `key`, then `detail` on lines of its own, shown as it is (file
// names, profile names: the user's text, never markup).
int ShowDetailedMessage(ui::WindowHandle owner, ui::CPaintManagerUI& manager, std::string_view key,
                        std::string_view detail, int dpi, int mode = 0);

// Puts `value` into the first integer or string conversion of `format` (%d, %i, %u, %s,
// %S, %ls, with flags and width). Translations are outside the program, so nothing in
// them is trusted: "%%" is a percent sign, every other conversion (and any after the
// first) is shown as written, and nothing is ever read beyond the one value.
std::string FormatMessageText(std::string_view format, long long value);

// Scripted answers for headless runs. UI thread only, like the boxes themselves.
class MessageBoxScript {
public:
    struct Shown {
        std::string key;   // the text asked for (the language key for the keyed forms)
        std::string text;  // what "MessageText" showed, translated and formatted
        int mode = 0;
        int answer = 0;  // what the box returned
        bool offeredDontShow = false;  // the box had the "don't show again" tick
        bool dontShowAgain = false;    // and it was ticked
    };

    static void Install();
    static void Uninstall();  // also drops queued answers and records
    static bool IsInstalled();
    // Answers for the next boxes, in order; a box with none left is cancelled (0).
    // `dontShowAgain` ticks a box's "don't show again" before answering (where it has one).
    static void QueueAnswer(int answer, bool dontShowAgain = false);
    // The boxes shown since the last call, oldest first.
    static std::vector<Shown> TakeShown();
};

}  // namespace app
