// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "telix-tx512 profile apply FPS" and the other commands, run from a shell or a script:
// handed to the copy of the program that runs in this session, over its local socket, or,
// with none running, done by this process on the device without a window, after which it
// exits. Exit codes: 0 done, 1 refused, 2 bad usage; what went wrong is said on stderr.
#include <iosfwd>
#include <string>
#include <vector>

namespace app::cli {

// `args` is argv without the program name, starting with the command word.
int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace app::cli
