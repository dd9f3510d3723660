// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DesktopSettings.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/TextCompare.h"
#include "platform/Trace.h"

extern char** environ;

namespace platform {

namespace {

struct Tool {
    const char* desktop;  // one name of XDG_CURRENT_DESKTOP
    const char* keyboard[3];
    const char* mouse[3];
};

constexpr Tool kTools[] = {
    {"GNOME",
     {"gnome-control-center", "keyboard", nullptr},
     {"gnome-control-center", "mouse", nullptr}},
    {"Unity",
     {"gnome-control-center", "keyboard", nullptr},
     {"gnome-control-center", "mouse", nullptr}},
    {"KDE", {"systemsettings", "kcm_keyboard", nullptr}, {"systemsettings", "kcm_mouse", nullptr}},
    {"XFCE",
     {"xfce4-keyboard-settings", nullptr, nullptr},
     {"xfce4-mouse-settings", nullptr, nullptr}},
    {"X-Cinnamon",
     {"cinnamon-settings", "keyboard", nullptr},
     {"cinnamon-settings", "mouse", nullptr}},
    {"MATE",
     {"mate-keyboard-properties", nullptr, nullptr},
     {"mate-mouse-properties", nullptr, nullptr}},
    {"LXQt", {"lxqt-config-input", nullptr, nullptr}, {"lxqt-config-input", nullptr, nullptr}},
};

// The tool's path through PATH; empty when it is not installed.
std::string FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string_view dirs = path != nullptr ? path : "/usr/bin:/bin";
    while (!dirs.empty()) {
        const auto colon = dirs.find(':');
        const std::string_view dir = dirs.substr(0, colon);
        dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
        if (dir.empty()) continue;
        const std::filesystem::path candidate = std::filesystem::path(dir) / name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
    return {};
}

}  // namespace

std::vector<std::string> DesktopSettings::CommandFor(std::string_view desktop, Page page) {
    // XDG_CURRENT_DESKTOP lists names by preference, separated by colons.
    while (!desktop.empty()) {
        const auto colon = desktop.find(':');
        const std::string_view name = desktop.substr(0, colon);
        desktop = colon == std::string_view::npos ? std::string_view() : desktop.substr(colon + 1);
        for (const Tool& tool : kTools) {
            if (!EqualsNoCase(name, tool.desktop)) continue;
            std::vector<std::string> command;
            for (const char* word : page == Page::Keyboard ? tool.keyboard : tool.mouse) {
                if (word != nullptr) command.emplace_back(word);
            }
            return command;
        }
    }
    return {};
}

bool DesktopSettings::Open(int n) {
    if (n != 0 && n != 1) return false;
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    std::vector<std::string> command =
        CommandFor(desktop != nullptr ? desktop : "", n == 0 ? Page::Keyboard : Page::Mouse);
    if (command.empty()) return false;
    // Looking the tool up and starting it touch the disk: not on the caller's thread. The
    // thread then waits for the tool, so that it leaves no zombie behind.
    std::thread([command = std::move(command)]() mutable {
        const std::string program = FindProgram(command[0]);
        if (program.empty()) {
            TraceF("no %s to open the desktop's settings\n", command[0].c_str());
            return;
        }
        std::vector<char*> argv;
        for (std::string& word : command) argv.push_back(word.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return;
        int status = 0;
        waitpid(pid, &status, 0);
    }).detach();
    return true;
}

}  // namespace platform
