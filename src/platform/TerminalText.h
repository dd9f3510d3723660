// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text from files a user (or someone else) may have edited, on its way to a terminal or
// into a name: control characters would move the cursor, change colours or reorder what
// is shown, and no one would see that they are there.
#include <string>
#include <string_view>

namespace platform {

// C0 and C1 controls, DEL, and the bidirectional embeddings, overrides and isolates.
bool IsHiddenControl(char32_t c);
// `text` without the characters IsHiddenControl() names; other bytes are kept as they are.
std::string WithoutHiddenControls(std::string_view text);
// `text` with those characters shown as "\xNN" (up to U+00FF) or "\uNNNN", and bytes
// that are not UTF-8 as "\xNN": what reaches the terminal only ever prints.
std::string EscapedForTerminal(std::string_view text);
// JSON text with those characters written as "\uNNNN", which means the same to a JSON
// reader and shows nothing to a terminal (controls appear only inside strings).
std::string EscapedForJson(std::string_view json);

}  // namespace platform
