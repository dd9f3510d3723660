// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/JsonDataFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <system_error>
#include <thread>

#include "data/JsonInputGuard.h"
#include "platform/AtomicFile.h"
#include "platform/Trace.h"

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

bool Parse(const std::string& text, Json::Value& root) {
    Json::CharReaderBuilder builder;
    builder["collectComments"] = true;
    // The parser recurses per level; the text was already checked against kMaxDepth,
    // this is the second line.
    builder["stackLimit"] = JsonInputGuard::kMaxDepth + 1;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string errors;
    try {
        return reader->parse(text.data(), text.data() + text.size(), &root, &errors);
    } catch (const std::exception&) {
        return false;
    }
}

bool HasComments(const Json::Value& value) {
    for (const Json::CommentPlacement placement :
         {Json::commentBefore, Json::commentAfterOnSameLine, Json::commentAfter})
        if (value.hasComment(placement)) return true;
    if (value.isObject() || value.isArray()) {
        for (const Json::Value& child : value)
            if (HasComments(child)) return true;
    }
    return false;
}

Json::Value WithoutComments(const Json::Value& value) {
    switch (value.type()) {
        case Json::objectValue: {
            Json::Value plain(Json::objectValue);
            for (auto it = value.begin(); it != value.end(); ++it)
                plain[it.name()] = WithoutComments(*it);
            return plain;
        }
        case Json::arrayValue: {
            Json::Value plain(Json::arrayValue);
            for (const Json::Value& element : value) plain.append(WithoutComments(element));
            return plain;
        }
        case Json::intValue:
            return Json::Value(value.asLargestInt());
        case Json::uintValue:
            return Json::Value(value.asLargestUInt());
        case Json::realValue:
            return Json::Value(value.asDouble());
        case Json::stringValue:
            return Json::Value(value.asString());
        case Json::booleanValue:
            return Json::Value(value.asBool());
        case Json::nullValue:
            break;
    }
    return Json::Value();
}

// The text passed JsonInputGuard::CheckText.
bool ParseChecked(const std::string& text, Json::Value& root) {
    return Parse(text, root) && JsonInputGuard::CheckStrings(root);
}

}  // namespace

JsonDataFile::ReadStatus JsonDataFile::ReadBytes(const std::filesystem::path& path,
                                                 std::string& bytes) {
    bytes.clear();
    // Non-blocking open: a FIFO in the file's place must not stall the program.
    errno = 0;
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    const int openError = errno;
    platform::TraceF("readjsonFile 错误吗：：%d\n", openError);
    if (file.get() < 0)
        return openError == ENOENT || openError == ENOTDIR ? ReadStatus::Missing
                                                           : ReadStatus::Unreadable;

    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return ReadStatus::Unreadable;
    if (static_cast<unsigned long long>(info.st_size) > JsonInputGuard::kMaxBytes)
        return ReadStatus::Invalid;

    // Read to the end rather than trusting the size: the file may have grown since.
    const std::size_t limit = JsonInputGuard::kMaxBytes + 1;
    bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (bytes.size() >= limit) break;
            bytes.resize(std::min(limit, bytes.size() * 2));
        }
        const ssize_t got = ::read(file.get(), bytes.data() + total, bytes.size() - total);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            bytes.clear();
            return ReadStatus::Unreadable;
        }
        total += static_cast<std::size_t>(got);
    }
    if (total > JsonInputGuard::kMaxBytes) {
        bytes.clear();
        return ReadStatus::Invalid;
    }
    bytes.resize(total);
    return total == 0 ? ReadStatus::Invalid : ReadStatus::Ok;
}

std::string JsonDataFile::readjsonFile(const std::filesystem::path& path) const {
    std::string bytes;
    ReadBytes(path, bytes);
    return bytes;
}

Json::Value JsonDataFile::ReadJsonFile(const std::filesystem::path& path) const {
    ReadStatus status = ReadStatus::Ok;
    return ReadJsonFile(path, status);
}

Json::Value JsonDataFile::ReadJsonFile(const std::filesystem::path& path,
                                       ReadStatus& status) const {
    std::string text;
    status = ReadBytes(path, text);
    if (text.empty()) {
        platform::Trace(path.string());
        return Json::Value();
    }
    if (const char* reason = JsonInputGuard::CheckText(text)) {
        platform::TraceF("JSON file refused (%s): %s\n", reason, path.c_str());
        status = ReadStatus::Invalid;
        return Json::Value();
    }
    Json::Value root;
    if (!ParseChecked(text, root)) {
        status = ReadStatus::Invalid;
        return Json::Value();
    }
    return root;
}

bool JsonDataFile::ParseText(const std::string& text, Json::Value& root) {
    root = Json::Value();
    if (JsonInputGuard::CheckText(text) != nullptr) return false;
    if (ParseChecked(text, root)) return true;
    root = Json::Value();
    return false;
}

bool JsonDataFile::WriteJsonFile(const std::filesystem::path& path,
                                 const Json::Value& value) const {
    if (path.empty()) return false;
    if (platform::WriteFileAtomically(path, StyledText(value))) return true;
    platform::TraceF("JSON file not written: %s\n", path.c_str());
    return false;
}

std::filesystem::path JsonDataFile::KeepCopy(const std::filesystem::path& path) const {
    namespace fs = std::filesystem;
    const std::string base = path.filename().string() + ".unreadable-" + MakeTimeStampName();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path copy =
            path.parent_path() / (attempt == 0 ? base : base + "-" + std::to_string(attempt));
        std::error_code error;
        // copy_options::none fails on an existing name, so an earlier copy is never lost.
        if (fs::copy_file(path, copy, fs::copy_options::none, error)) return copy;
        if (error != std::errc::file_exists) {
            platform::TraceF("no copy of %s: %s\n", path.c_str(), error.message().c_str());
            return {};
        }
    }
    return {};
}

std::string JsonDataFile::StyledText(const Json::Value& value) {
    Json::StyledWriter writer;
    std::string text = writer.write(value);
    if (!HasComments(value)) return text;
    // The writer puts a comment that ended its line after the value it followed, and a
    // comment ending in a blank makes it take the closing bracket for indented ("// a }"):
    // the file would not read again. Comments are kept only where the text reads back.
    Json::Value again;
    if (ParseText(text, again) && again == value) return text;
    platform::TraceF("JSON comments dropped: they would not read back\n");
    return writer.write(WithoutComments(value));
}

std::string JsonDataFile::MakeFreeTimeStampName(
    const std::function<bool(const std::string&)>& taken) const {
    constexpr int kAttempts = 1000;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::string name = MakeTimeStampName();
        if (!taken(name)) return name;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return {};
}

std::string JsonDataFile::MakeTimeStampName() const {
    return MakeTimeStampName(std::chrono::system_clock::now());
}

std::string JsonDataFile::MakeTimeStampName(std::chrono::system_clock::time_point when) {
    using namespace std::chrono;
    const auto seconds = floor<std::chrono::seconds>(when);
    const auto millis = duration_cast<milliseconds>(when - seconds).count();
    const std::time_t time = system_clock::to_time_t(seconds);
    std::tm local{};
    localtime_r(&time, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%d_%02d_%02d_%02d_%02d_%02d_%03d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(millis));
    return text;
}
