// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/WebAddress.h"

#include "platform/TextCompare.h"

namespace update {

bool IsWebAddress(std::string_view address) {
    std::size_t schemeEnd = 0;
    if (platform::EqualsNoCase(address.substr(0, 7), "http://"))
        schemeEnd = 7;
    else if (platform::EqualsNoCase(address.substr(0, 8), "https://"))
        schemeEnd = 8;
    else
        return false;
    if (address.size() == schemeEnd || address[schemeEnd] == '/') return false;  // no host
    for (const char c : address) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F) return false;
    }
    return true;
}

}  // namespace update

namespace update {

bool IsSecureWebAddress(std::string_view address) {
    return IsWebAddress(address) && platform::EqualsNoCase(address.substr(0, 8), "https://");
}

}  // namespace update
