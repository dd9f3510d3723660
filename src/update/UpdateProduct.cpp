// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/UpdateProduct.h"

#include "Version.h"

namespace update {

std::vector<UpdateProduct> UpdateProductTable() {
    return {
        {1, 1, 0, "VEXAL", "QX20P52C", "VEXAL", "VEXAL", ""},
        {1, 1, 0, "VEXAL", "QX20P51C", TX512_PRODUCT_NAME, "NORVANE Game Device", ""},
        {2, 1, 0, "VEXAL", "QX20P33C_1", "R27", "R27", ""},
        {0, 1, 0, "VEXAL", "ALL", TX512_PRODUCT_NAME, "AP", "V0100"},
    };
}

std::uint32_t InstalledAppVersion(std::string_view versionText) {
    std::uint64_t value = 0;
    for (const char c : versionText) {
        if (c == '.') continue;
        if (c < '0' || c > '9') break;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > UINT32_MAX) return 0;  // no version is that long: not a version
    }
    return static_cast<std::uint32_t>(value);
}

std::uint32_t InstalledAppVersion() {
    return InstalledAppVersion(TX512_VERSION);
}

std::string AppKey(const UpdateProduct& row) {
    if (row.version == 0) return "NULL";
    return row.appKey + "_" + std::to_string(row.hexFlag) + "_" + row.model + "_" +
           row.productName + "_" + std::to_string(row.tag);
}

std::string EntryName(const UpdateProduct& row) {
    return row.model == "ALL" ? std::string("AP") : row.displayName;
}

}  // namespace update
