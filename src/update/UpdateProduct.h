// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The products the update service is asked about: one row per device tab, in tab order,
// and the program itself as the last row. The version is filled in when the settings
// window opens (0: not present, no entry).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace update {

struct UpdateProduct {
    int hexFlag = 0;  // nonzero: a firmware version, shown and sent in hexadecimal
    int tag = 0;
    std::uint32_t version = 0;
    std::string appKey;
    std::string model;
    std::string productName;
    std::string displayName;
    std::string versionText;
};

// The four rows; row k < 3 belongs to device tab k, the last is the program.
std::vector<UpdateProduct> UpdateProductTable();

// The program's version as a number: its version text without the dots, read up to the
// first character that is not a digit ("1.0.3" is 103; none: 0).
std::uint32_t InstalledAppVersion(std::string_view versionText);
// The version of the program that runs.
std::uint32_t InstalledAppVersion();

// "NULL" for a row without version; else app key _ hex flag _ model _ product name _ tag.
std::string AppKey(const UpdateProduct& row);

// The name the entry shows: "AP" for the program's row, else the row's display name.
std::string EntryName(const UpdateProduct& row);

}  // namespace update
