// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where things live on disk. Folders that hold the user's files are created on demand.
#include <filesystem>
#include <string>

namespace platform {

namespace fs = std::filesystem;

// The executable's folder: where the libraries the program loads at run time sit.
// TX512_PROGRAM_DIR in the environment overrides it (tests, running from a build tree).
fs::path ProgramDir();
void SetProgramDir(const fs::path& dir);  // for tests; empty restores the default

// Where "skin/", "DefaultData/" and "Font/" sit: the program folder itself when it holds
// "skin/" (a build tree, or TX512_PROGRAM_DIR), otherwise the installed data folder
// (share/telix-tx512 beside the program's lib/telix-tx512) when that holds it; the program
// folder when neither does, so that what is missing is reported against one place.
fs::path DataDir();
// share/telix-tx512 seen from the program folder: where an installed program's data belongs.
fs::path InstalledDataDir();

// $XDG_DATA_HOME (default ~/.local/share) + "TELIX TX512 keyboard Driver/", created.
fs::path UserRootDir();
// UserRootDir() + kind folder ("keyboard", "mouse", "MousePad", "HD") + "/", each level created.
fs::path UserDataDir(const std::string& kindFolder);
// $XDG_CONFIG_HOME (default ~/.config) + "TELIX TX512 keyboard Driver/", created.
fs::path ConfigDir();
// $XDG_RUNTIME_DIR, or, when the session has none, a private folder of this user: under
// the temporary folder, or under $XDG_CACHE_HOME (~/.cache) when another user holds that
// name there. Never a folder that belongs to someone else.
fs::path RuntimeDir();

}  // namespace platform
