// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/CommandFiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/Paths.h"

namespace app::cli {

namespace fs = std::filesystem;

namespace {

// A profile file is a few hundred KiB at most; anything larger is not one, and a device
// file (/dev/zero) would never end.
constexpr std::uintmax_t kMaxImportBytes = 8u * 1024 * 1024;

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// Symbolic links on the way are followed on both sides, so that a link into one of the
// folders is caught too.
bool Inside(const fs::path& path, const fs::path& folder) {
    std::error_code error;
    const fs::path target = fs::weakly_canonical(path, error);
    if (error) return false;
    const fs::path base = fs::weakly_canonical(folder, error);
    if (error || base.empty()) return false;
    const auto [end, ignored] = std::mismatch(base.begin(), base.end(), target.begin(), target.end());
    return end == base.end();
}

}  // namespace

fs::path CommandFile(const std::string& file, const std::string& workingDir, std::string& why) {
    const fs::path path(file);
    if (path.is_absolute()) return path;
    const fs::path folder(workingDir);
    if (!folder.is_absolute()) {
        why = Quoted(path) + " is a relative file name and the command did not say where it was "
              "typed; give the full path";
        return {};
    }
    return (folder / path).lexically_normal();
}

std::string ImportProblem(const fs::path& path) {
    std::error_code error;
    const auto status = fs::status(path, error);
    if (error || !fs::exists(status)) return "cannot read " + Quoted(path) + ": no such file";
    if (!fs::is_regular_file(status)) return Quoted(path) + " is not a file";
    const auto size = fs::file_size(path, error);
    if (error) return "cannot read " + Quoted(path);
    if (size > kMaxImportBytes) return Quoted(path) + " is not a profile file (too large)";
    return {};
}

std::string ExportProblem(const fs::path& path) {
    struct stat st{};
    if (::lstat(path.c_str(), &st) == 0) {
        if (S_ISLNK(st.st_mode))
            return Quoted(path) + " is a symbolic link; give the file it points to, or a new name";
        if (S_ISDIR(st.st_mode)) return Quoted(path) + " is a folder; give a file name";
        if (!S_ISREG(st.st_mode))
            return Quoted(path) + " is not a regular file (a device, pipe or socket); give a file name";
    } else if (errno != ENOENT) {
        return "cannot write " + Quoted(path) + ": " + std::strerror(errno);
    }
    std::error_code error;
    const auto folder = path.parent_path();
    if (!folder.empty() && !fs::is_directory(folder, error))
        return "cannot write " + Quoted(path) + ": the folder does not exist";
    // Over the program's own files (a profile, the profile list, the settings, the lock)
    // an export would replace them with a profile.
    if (Inside(path, platform::UserRootDir()))
        return Quoted(path) + " is in the program's own data folder; export somewhere else";
    if (Inside(path, platform::ConfigDir()))
        return Quoted(path) + " is in the program's own settings folder; export somewhere else";
    if (Inside(path, platform::RuntimeDir()))
        return Quoted(path) + " is in the program's runtime folder; export somewhere else";
    return {};
}

}  // namespace app::cli
