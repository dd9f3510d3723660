// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Starting the program at login, the freedesktop way: a desktop entry in
// $XDG_CONFIG_HOME/autostart (default ~/.config/autostart) named "telix-tx512.desktop",
// whose Exec starts the program in the tray (--hidden). An entry of that name in a system
// autostart folder ($XDG_CONFIG_DIRS, default /etc/xdg) counts too, unless the user's own
// entry of that name overrides it. An entry with Hidden=true counts as absent; so turning
// start-at-login off while a system entry exists writes such an entry instead of removing
// the user's file, or the system's entry would come back.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class AutostartEntry {
public:
    static constexpr std::string_view kFileName = "telix-tx512.desktop";

    // Folders from the environment as it is now.
    AutostartEntry();
    AutostartEntry(std::filesystem::path userFolder,
                   std::vector<std::filesystem::path> systemFolders);

    const std::filesystem::path& UserFile() const { return userFile_; }
    // Whether the desktop will start the program at the next login.
    bool IsActive() const;
    // Which file decides that (the user's or a system one); empty when none exists.
    std::filesystem::path DecidingFile() const;

    // Written whole or not at all. `program` is the executable to start.
    bool Enable(const std::filesystem::path& program);
    bool Disable();

    // This executable as the entry should start it: the installed bin/ link to it when
    // there is one (it survives an upgrade that moves the real file), else its own path.
    static std::filesystem::path ProgramToStart();
    // The entry's text for `program`.
    static std::string EntryText(const std::filesystem::path& program);
    // One argument as the Exec key needs it: quoted, with ", `, $ and \ escaped, % doubled.
    static std::string ExecArgument(std::string_view argument);
    // Whether the entry's text says Hidden=true in its [Desktop Entry] group.
    static bool SaysHidden(std::string_view text);

private:
    std::filesystem::path userFile_;
    std::vector<std::filesystem::path> systemFiles_;
};

}  // namespace platform
