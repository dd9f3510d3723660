// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one reader and writer of the program's JSON data files. Files are written in
// jsoncpp's styled layout (three-space indent, members in name order) and replaced
// whole, never in place, so a crash during a save leaves the old file or the new one.
// A file that is missing, unreadable, not JSON or beyond the limits of JsonInputGuard
// reads as null.
#include <json/json.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

class JsonDataFile {
public:
    enum class ReadStatus {
        Ok,
        Missing,     // no file by that name
        Unreadable,  // there is something, but it could not be read (not a file, I/O error)
        Invalid,     // read, but empty, not JSON or beyond the limits
    };

    // The file's bytes; empty when it cannot be read or exceeds JsonInputGuard::kMaxBytes.
    std::string readjsonFile(const std::filesystem::path& path) const;

    Json::Value ReadJsonFile(const std::filesystem::path& path) const;
    // The same, telling why a null came back, so that a save can tell a file it may
    // replace from one it must not touch.
    Json::Value ReadJsonFile(const std::filesystem::path& path, ReadStatus& status) const;

    // Writes the value as the whole file; false when the file could not be replaced.
    bool WriteJsonFile(const std::filesystem::path& path, const Json::Value& value) const;

    // Text held elsewhere than in a file (a row's stored event), read as a file is: within
    // the limits of JsonInputGuard, or not at all (root null, false).
    static bool ParseText(const std::string& text, Json::Value& root);

    // The exact bytes WriteJsonFile puts in a file.
    static std::string StyledText(const Json::Value& value);

    // Copies a file the program is about to write over, though it could not take it as it
    // is, to `<file name>.unreadable-<time stamp>` beside it (a free name is found; no
    // copy is ever overwritten). Returns the copy's path, or an empty path when no copy
    // could be made: the caller must then leave the file alone.
    std::filesystem::path KeepCopy(const std::filesystem::path& path) const;

    // Local time as "2021_03_07_09_05_02_045": the identifier of new profiles and macros.
    std::string MakeTimeStampName() const;
    // A time-stamp name `taken` says is free. Time stamps differ only by the millisecond,
    // so a taken one waits for the next; empty when a thousand in a row were taken.
    std::string MakeFreeTimeStampName(const std::function<bool(const std::string&)>& taken) const;
    static std::string MakeTimeStampName(std::chrono::system_clock::time_point when);

private:
    static ReadStatus ReadBytes(const std::filesystem::path& path, std::string& bytes);
};
