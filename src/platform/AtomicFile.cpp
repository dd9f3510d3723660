// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>

namespace platform {

namespace {

bool WriteAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

// A process killed between mkstemp and rename leaves its temporary file behind; the next
// successful save of the same name sweeps those. Only files old enough that no live writer
// can still own them are removed.
void SweepStaleTemporaries(const std::filesystem::path& dir, const std::string& name) {
    namespace fs = std::filesystem;
    std::string prefix(".");
    prefix.append(name).append(".");
    const auto cutoff = fs::file_time_type::clock::now() - std::chrono::seconds(60);
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        const std::string file = entry.path().filename().string();
        if (file.size() != prefix.size() + 6 || file.compare(0, prefix.size(), prefix) != 0) continue;
        std::error_code statError;
        if (!entry.is_regular_file(statError) || entry.last_write_time(statError) > cutoff) continue;
        fs::remove(entry.path(), statError);
    }
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    const std::filesystem::path dir = path.has_parent_path() ? path.parent_path() : ".";
    // Built by appending: g++ 12 gives a false -Wrestrict on operator+ chains at -O3.
    std::string tempName(".");
    tempName.append(path.filename().string()).append(".XXXXXX");
    std::string temp = (dir / tempName).string();
    int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    // Keep the permissions an existing file had; a new one gets the usual 0644.
    struct stat st{};
    mode_t mode = (::stat(path.c_str(), &st) == 0) ? (st.st_mode & 07777) : 0644;
    ::fchmod(fd, mode);

    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable.
    int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    SweepStaleTemporaries(dir, path.filename().string());
    return true;
}

}  // namespace platform
