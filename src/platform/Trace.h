// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The debug-text sink. Off by default; TX512_TRACE=1 sends it to stderr,
// TX512_TRACE=<path> appends it to that file. Texts are written as given, with no
// line break added: the documented debug texts are matched byte for byte, so a caller
// ends its text with "\n" only where the documented text ends with one.
#include <functional>
#include <string>
#include <string_view>

namespace platform {

bool TraceEnabled();
void Trace(std::string_view text);
void TraceF(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Tests capture the trace here; pass an empty function to return to the environment's sink.
void SetTraceSink(std::function<void(std::string_view)> sink);

}  // namespace platform
