// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <mutex>
#include <system_error>

#include "Version.h"

namespace platform {

namespace {

std::mutex g_mutex;
fs::path g_programDirOverride;

fs::path EnvPath(const char* name) {
    const char* value = std::getenv(name);
    // The XDG rules say relative values are invalid and must be ignored.
    if (value && *value == '/') return fs::path(value);
    return {};
}

fs::path HomeDir() {
    if (auto home = EnvPath("HOME"); !home.empty()) return home;
    return fs::temp_directory_path();
}

// A real folder (not a link) of this user, closed to everyone else, in a folder nobody
// else can swap it out of.
bool IsPrivateFolder(const fs::path& dir) {
    struct stat parent{};
    if (::stat(dir.parent_path().c_str(), &parent) != 0) return false;
    if (parent.st_uid != ::getuid() && parent.st_uid != 0) return false;
    if ((parent.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (parent.st_mode & S_ISVTX) == 0) return false;
    struct stat st{};
    if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) return false;
    return (st.st_mode & 07777) == 0700 || ::chmod(dir.c_str(), 0700) == 0;
}

bool MakePrivateFolder(const fs::path& dir) {
    ::mkdir(dir.c_str(), 0700);
    return IsPrivateFolder(dir);
}

fs::path Ensure(const fs::path& dir) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    return dir;
}

}  // namespace

fs::path ProgramDir() {
    {
        std::lock_guard lock(g_mutex);
        if (!g_programDirOverride.empty()) return g_programDirOverride;
    }
    if (auto env = EnvPath("TX512_PROGRAM_DIR"); !env.empty()) return env;
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::current_path(ec);
    return exe.parent_path();
}

fs::path InstalledDataDir() {
    return (ProgramDir() / TX512_DATA_FROM_PROGRAM).lexically_normal();
}

fs::path DataDir() {
    const fs::path program = ProgramDir();
    std::error_code ec;
    if (fs::is_directory(program / "skin", ec)) return program;
    const fs::path installed = InstalledDataDir();
    if (fs::is_directory(installed / "skin", ec)) return installed;
    return program;
}

void SetProgramDir(const fs::path& dir) {
    std::lock_guard lock(g_mutex);
    g_programDirOverride = dir;
}

fs::path UserRootDir() {
    fs::path base = EnvPath("XDG_DATA_HOME");
    if (base.empty()) base = HomeDir() / ".local" / "share";
    return Ensure(base / TX512_PRODUCT_NAME);
}

fs::path UserDataDir(const std::string& kindFolder) { return Ensure(UserRootDir() / kindFolder); }

fs::path ConfigDir() {
    fs::path base = EnvPath("XDG_CONFIG_HOME");
    if (base.empty()) base = HomeDir() / ".config";
    return Ensure(base / TX512_PRODUCT_NAME);
}

fs::path RuntimeDir() {
    if (auto dir = EnvPath("XDG_RUNTIME_DIR"); !dir.empty()) return dir;
    // Used once a folder in the shared temporary folder turned out to be someone else's;
    // from then on every copy takes it, so that all of them meet in one place.
    fs::path base = EnvPath("XDG_CACHE_HOME");
    if (base.empty()) base = HomeDir() / ".cache";
    const fs::path own = base / "telix-tx512-runtime";
    if (IsPrivateFolder(own)) return own;
    std::error_code ec;
    const fs::path shared = fs::temp_directory_path(ec) / ("telix-tx512-" + std::to_string(::getuid()));
    if (!ec && MakePrivateFolder(shared)) return shared;
    // Anyone may create that name first (or a link by that name): theirs is never ours.
    fs::create_directories(base, ec);
    if (MakePrivateFolder(own)) return own;
    // Nowhere to meet: a fresh folder of this process keeps at least its files private.
    std::lock_guard lock(g_mutex);
    static fs::path fresh;
    if (fresh.empty() || !IsPrivateFolder(fresh)) {
        std::string pattern = (fs::temp_directory_path(ec) / ("telix-tx512-" + std::to_string(::getuid()) + "-XXXXXX")).string();
        fresh = ::mkdtemp(pattern.data()) != nullptr ? fs::path(pattern) : own;
    }
    return fresh;
}

}  // namespace platform
