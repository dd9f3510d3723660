// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "ProfileList.ini" of a device kind's user data folder: despite its name a JSON document
// holding the profiles in display order ("profilelist": {"profilename", "profileUUID",
// "profileislink", "profilelinkmame"}) and the index of the selected one
// ("profileselect"). The document is a cache of the file: every change re-reads the file
// first and writes it back whole, so changes made by another copy are not lost.
#include <json/json.h>

#include <filesystem>
#include <string>
#include <vector>

#include "data/JsonDataFile.h"

class ProfileListFile {
public:
    static constexpr const char* kFileName = "ProfileList.ini";

    struct Entry {
        std::string name;
        std::string uuid;
    };

    explicit ProfileListFile(std::filesystem::path folder = {});
    void SetFolder(std::filesystem::path folder) { folder_ = std::move(folder); }
    const std::filesystem::path& Folder() const { return folder_; }
    std::filesystem::path Path() const { return folder_ / kFileName; }

    // Re-reads the file. A file that is there but not a usable list is copied aside
    // before the first write over it (see JsonDataFile::KeepCopy); when that fails, or
    // the file could not be read at all, the list refuses to write until it has read a
    // good file.
    JsonDataFile::ReadStatus Read();
    bool Write();

    int Count() const;
    // Entry i; empty texts for an index out of range or an element that is not an object.
    Entry At(int index) const;
    std::vector<std::string> Names() const;
    int Selected() const;
    void SetSelected(int index);

    // Element `index` becomes the entry (appended when index == Count()).
    void Put(int index, const Entry& entry);
    void Remove(int index);
    void SetName(int index, const std::string& name);
    // No profiles, nothing selected.
    void Clear();

    // The index of the profile whose file is `file`; -1 for none.
    int IndexOfFile(const std::filesystem::path& file) const;
    // The profile file of `uuid` in the folder; empty when the UUID is not a plain file
    // name, since the list is a file a user can edit.
    std::filesystem::path ProfileFile(const std::string& uuid) const;

    // The profiles found in the folder's profile files (each naming itself by
    // "profileUUID" as its file name, with a "profilename"), oldest UUID first: what a
    // lost list is rebuilt from.
    std::vector<Entry> FindProfileFiles() const;

private:
    std::filesystem::path folder_;
    Json::Value document_;
    bool writable_ = true;
    bool keepCopyFirst_ = false;
    JsonDataFile files_;
};
