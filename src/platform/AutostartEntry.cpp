// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AutostartEntry.h"

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>

#include "platform/AtomicFile.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr std::uintmax_t kMaxEntryBytes = 64 * 1024;

fs::path UserAutostartFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') return fs::path(config) / "autostart";
    const char* home = std::getenv("HOME");
    return fs::path(home != nullptr ? home : "") / ".config" / "autostart";
}

std::vector<fs::path> SystemAutostartFolders() {
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    std::string list = dirs != nullptr && dirs[0] != '\0' ? dirs : "/etc/xdg";
    std::vector<fs::path> folders;
    std::stringstream in(list);
    for (std::string dir; std::getline(in, dir, ':');)
        if (!dir.empty() && dir[0] == '/') folders.push_back(fs::path(dir) / "autostart");
    return folders;
}

// Nothing when the file is not there, or is not a file of a sensible size.
std::optional<std::string> ReadEntry(const fs::path& file) {
    std::error_code error;
    if (!fs::is_regular_file(file, error)) return std::nullopt;
    const auto size = fs::file_size(file, error);
    if (error || size > kMaxEntryBytes) return std::string("[Desktop Entry]\nHidden=true\n");
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string TrimmedLine(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace

AutostartEntry::AutostartEntry()
    : AutostartEntry(UserAutostartFolder(), SystemAutostartFolders()) {}

AutostartEntry::AutostartEntry(fs::path userFolder, std::vector<fs::path> systemFolders)
    : userFile_(std::move(userFolder) / kFileName) {
    for (auto& folder : systemFolders) systemFiles_.push_back(folder / kFileName);
}

fs::path AutostartEntry::DecidingFile() const {
    std::error_code error;
    if (fs::exists(userFile_, error)) return userFile_;
    for (const auto& file : systemFiles_)
        if (fs::exists(file, error)) return file;
    return {};
}

bool AutostartEntry::IsActive() const {
    const fs::path file = DecidingFile();
    if (file.empty()) return false;
    const auto text = ReadEntry(file);
    return text && !SaysHidden(*text);
}

bool AutostartEntry::SaysHidden(std::string_view text) {
    bool inEntry = false;
    std::stringstream in{std::string(text)};
    for (std::string line; std::getline(in, line);) {
        const std::string trimmed = TrimmedLine(line);
        if (trimmed.empty() || trimmed[0] == '#') continue;
        if (trimmed[0] == '[') {
            inEntry = trimmed == "[Desktop Entry]";
            continue;
        }
        if (!inEntry) continue;
        const auto eq = trimmed.find('=');
        if (eq == std::string::npos) continue;
        if (TrimmedLine(std::string_view(trimmed).substr(0, eq)) == "Hidden")
            return TrimmedLine(std::string_view(trimmed).substr(eq + 1)) == "true";
    }
    return false;
}

std::string AutostartEntry::ExecArgument(std::string_view argument) {
    std::string quoted = "\"";
    for (char c : argument) {
        // Inside quotes these four take a backslash; the desktop entry's own string
        // escaping then doubles every backslash.
        if (c == '"' || c == '`' || c == '$') quoted += "\\\\";
        if (c == '\\') quoted += "\\\\\\";
        if (c == '%') quoted += '%';
        quoted += c;
    }
    return quoted + "\"";
}

std::string AutostartEntry::EntryText(const fs::path& program) {
    std::string text =
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=TELIX TX512\n"
        "Comment=Keeps the keyboard's and mouse pad's settings after login\n"
        "Icon=telix-tx512\n";
    text += "Exec=" + ExecArgument(program.string()) + " --hidden\n";
    text +=
        "Terminal=false\n"
        "X-GNOME-Autostart-enabled=true\n";
    return text;
}

fs::path AutostartEntry::ProgramToStart() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) return "telix-tx512";
    const fs::path link = self.parent_path().parent_path().parent_path() / "bin" / self.filename();
    if (fs::equivalent(link, self, error) && !error) return link;
    return self;
}

bool AutostartEntry::Enable(const fs::path& program) {
    std::error_code error;
    fs::create_directories(userFile_.parent_path(), error);
    if (error) return false;
    return WriteFileAtomically(userFile_, EntryText(program));
}

bool AutostartEntry::Disable() {
    std::error_code error;
    for (const auto& file : systemFiles_) {
        if (!fs::exists(file, error)) continue;
        const auto text = ReadEntry(file);
        if (text && SaysHidden(*text)) break;
        // A system entry would start the program again: the user's entry hides it.
        fs::create_directories(userFile_.parent_path(), error);
        return WriteFileAtomically(userFile_,
                                   "[Desktop Entry]\nType=Application\nName=TELIX TX512\n"
                                   "Exec=telix-tx512 --hidden\nHidden=true\n");
    }
    fs::remove(userFile_, error);
    return !error && !fs::exists(userFile_, error);
}

}  // namespace platform
