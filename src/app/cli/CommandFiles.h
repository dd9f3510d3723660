// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The files a command reads (profile import) or writes (profile export): where a name
// given on a command line points, and whether the program may touch what is there.
#include <filesystem>
#include <string>

namespace app::cli {

// `file` as the command line meant it: a relative name is taken in `workingDir`, the
// folder the command was typed in, never in the running copy's own. Empty, with `why`
// set, when a relative name comes without an absolute working folder.
std::filesystem::path CommandFile(const std::string& file, const std::string& workingDir,
                                  std::string& why);

// Why `path` cannot be imported; empty when it can.
std::string ImportProblem(const std::filesystem::path& path);

// Why the program will not write `path`; empty when it may. Only a new file or an
// existing regular file, not reached through a symbolic link, and none of the program's
// own files (data, configuration, runtime folder): an export replaces what is there.
std::string ExportProblem(const std::filesystem::path& path);

}  // namespace app::cli
