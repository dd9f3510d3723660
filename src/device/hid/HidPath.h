// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Device paths name one top-level collection: "<node>#vid_320f&pid_505b&mi_01&col04".
// "&mi_" appears only on composite devices and "&col" only when the interface has more
// than one top-level collection (numbered from 1 in descriptor order).
#include <cstdint>
#include <string>
#include <string_view>

namespace device {

class HidPath {
public:
    // interfaceNumber < 0 leaves "&mi_" out; collection 0 leaves "&col" out.
    static std::string Make(std::string_view node, uint16_t vendorId, uint16_t productId,
                            int interfaceNumber, int collection);

    // What comes before the '#': the node to open.
    static std::string_view Node(std::string_view path);

    // The hexadecimal number after the token, found case-insensitively; digits stop at
    // the first non-hex character; 0 when the token is absent.
    static uint16_t ParseToken(std::string_view path, std::string_view token);
    static uint16_t VendorId(std::string_view path) { return ParseToken(path, "vid_"); }
    static uint16_t ProductId(std::string_view path) { return ParseToken(path, "pid_"); }
    static uint16_t InterfaceNumber(std::string_view path) { return ParseToken(path, "&mi_"); }
    static uint16_t CollectionNumber(std::string_view path) { return ParseToken(path, "&col"); }
};

}  // namespace device
