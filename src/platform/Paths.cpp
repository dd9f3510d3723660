#include "platform/Paths.h"

#include <unistd.h>

#include <cstdlib>
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
    fs::path dir = fs::temp_directory_path() / ("telix-tx512-" + std::to_string(::getuid()));
    std::error_code ec;
    fs::create_directory(dir, ec);
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::replace, ec);
    return dir;
}

}  // namespace platform
