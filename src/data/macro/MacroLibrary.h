// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The files of one device kind's macro library: the list file "macro.config" that gives
// the macros' order, names and identifiers, and one "<identifier>.mac" per saved macro.
// Nothing is cached: every change re-reads the list file and writes it back whole, so
// the library never works from a stale copy.
//
// The list file is user-editable. An entry whose identifier is not a plain file name is
// listed like any other, but no file of it is ever read, written, copied or deleted. A
// list file that is there but not a usable list (cut short, beyond the reader's limits,
// not the list's shape) stands for the macro files still in the folder: a change starts
// from the list those files give (FindMacroFiles) rather than from nothing, and the
// damaged file is copied aside (JsonDataFile::KeepCopy) before it is replaced; when no
// copy can be made the change is refused.
#include <json/json.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/JsonDataFile.h"
#include "data/macro/MacroInfo.h"

class MacroLibrary {
public:
    static constexpr int kMaxMacros = 50;
    // LoadEvents hands out at most this many events, the first ones of the file; the rest
    // are ignored, and a macro saved from them loses them.
    static constexpr std::size_t kMaxLoadedEvents = 10000;
    static constexpr int kVersion = 64;
    static constexpr uint16_t kMaxDelay = 65535;

    enum class Transfer {
        Done,
        NotAMacro,    // the file to copy is no macro document (empty, too large, not JSON...)
        LibraryFull,  // import: kMaxMacros already
        NoSuchMacro,  // export: no entry at the index, or its identifier is no file name
        NotSaved,     // export: the macro has no file yet
        Unreadable,   // the file to copy is there but could not be read
        NotWritten,   // the target, or the library's files, could not be written
    };
    struct ImportResult {
        Transfer result = Transfer::NotWritten;
        MacroInfo entry;  // the new entry, when result is Done
    };

    explicit MacroLibrary(std::filesystem::path folder);
    const std::filesystem::path& Folder() const { return folder_; }
    std::filesystem::path ListPath() const;

    // The entries of "MacroInfo" in order; none when the list file is missing or broken.
    std::vector<MacroInfo> Entries() const;
    static std::vector<std::string> Names(const std::vector<MacroInfo>& entries);
    // "macro_<n>" with the lowest n >= 1 that equals none of the names, case ignored.
    static std::string NewName(const std::vector<std::string>& names);

    // The macros of the folder's macro files, oldest identifier first: each ".mac" whose
    // base name is a plain identifier and that holds a macro document, named by its
    // "MacroName" (or the next free "macro_<n>" when it has none, or one an earlier file
    // took), at most kMaxMacros. What a damaged list file is rebuilt from.
    std::vector<MacroInfo> FindMacroFiles() const;
    // A damaged list file is replaced by the list of FindMacroFiles, after a copy of it
    // was kept aside: the copy's path. Empty when the list file is missing or usable, or
    // when it could not be copied or replaced (then nothing changed).
    std::filesystem::path RebuildDamagedList() const;

    // Appends {name, new identifier} to the list; no macro file is written. Nothing when
    // the library holds kMaxMacros or the list file cannot be written. The identifier is
    // a time stamp that no entry and no file of the folder has yet.
    std::optional<MacroInfo> Add(const std::string& name);
    // Removes entry `index` (later ones move down) and then its macro file, unless another
    // entry names the same file. False on a bad index or when the list was not written.
    bool Remove(int index);
    // Sets the entry's name as given; its macro file keeps the old one until next saved.
    bool Rename(int index, const std::string& name);

    // Writes the macro file of `guid` (see Document). False when the identifier names no
    // file of the folder or the file could not be written.
    bool SaveEvents(const std::string& guid, const std::string& name,
                    const std::vector<Json::Value>& events) const;
    // The macro file's events in file order, elements that are not objects left out, at
    // most kMaxLoadedEvents. A missing or broken file has none. `cut` (when given) tells
    // whether the file held more events than were handed out.
    std::vector<Json::Value> LoadEvents(const std::string& guid, bool* cut = nullptr) const;
    // Copies the macro file aside (JsonDataFile::KeepCopy) before a save replaces what it
    // holds with less; false when no copy could be made.
    bool KeepCopyOf(const std::string& guid) const;

    // Takes a copy of a macro file made elsewhere: a new entry (NewName of the present
    // names, a new identifier) whose file holds the source's bytes as they are. Only a
    // document IsMacroDocument accepts is taken; on any refusal no file is changed.
    ImportResult Import(const std::filesystem::path& source) const;
    // Copies entry `index`'s macro file byte for byte to `target`.
    Transfer Export(int index, const std::filesystem::path& target) const;

    // {"MacroName", "Guid", "Events", "Version": 64}; without "Events" when there are
    // none. Elements that are not objects are left out rather than written as nulls,
    // which a reader would take for events; each "Delay" is rewritten by DelayText.
    static Json::Value Document(const std::string& name, const std::string& guid,
                                const std::vector<Json::Value>& events);
    // An object whose "Events", when present, is an array of objects with integer "Type"
    // and "Button", "Action" "down" or "up", and a string "Delay".
    static bool IsMacroDocument(const Json::Value& document);

    // A delay text read as a C library decimal conversion reads it (leading blanks, a
    // sign, digits up to the first other character; nothing is 0), held to 0..kMaxDelay:
    // what the delay edit shows for a stored "Delay" ("70000" shows 65535).
    static uint16_t ShownDelay(std::string_view text);
    // The "Delay" string stored for a delay edit's text: "007" -> "7", "" -> "0".
    static std::string DelayText(std::string_view text);

private:
    struct ListDocument;
    std::optional<ListDocument> ReadForChange() const;
    bool WriteList(const ListDocument& list) const;
    std::string NewIdentifier(const Json::Value& entries) const;

    std::filesystem::path folder_;
    JsonDataFile files_;
};
