// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/HidrawNode.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "device/hid/HidPath.h"
#include "device/hid/HidReportDescriptor.h"

namespace device {

namespace fs = std::filesystem;

namespace {

std::optional<std::string> ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

std::optional<unsigned long> ReadNumber(const fs::path& file, int base) {
    auto text = ReadText(file);
    if (!text || text->empty()) return std::nullopt;
    char* end = nullptr;
    unsigned long value = std::strtoul(text->c_str(), &end, base);
    if (end == text->c_str()) return std::nullopt;
    return value;
}

// The value of KEY=... in a uevent file.
std::optional<std::string> UeventValue(const fs::path& file, const std::string& key) {
    auto text = ReadText(file);
    if (!text) return std::nullopt;
    std::istringstream lines(*text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    }
    return std::nullopt;
}

// HID_ID=0003:0000320F:0000505B -> bus, vendor, product.
bool ParseHidId(const std::string& id, uint16_t& vendorId, uint16_t& productId) {
    unsigned bus = 0, vendor = 0, product = 0;
    if (std::sscanf(id.c_str(), "%x:%x:%x", &bus, &vendor, &product) != 3) return false;
    vendorId = static_cast<uint16_t>(vendor);
    productId = static_cast<uint16_t>(product);
    return true;
}

}  // namespace

bool HidrawNode::ReadIds(const fs::path& classDir, uint16_t& vendorId, uint16_t& productId) {
    auto id = UeventValue(classDir / "device" / "uevent", "HID_ID");
    return id && ParseHidId(*id, vendorId, productId);
}

std::optional<HidrawNode> HidrawNode::Read(const fs::path& classDir, const fs::path& devRoot) {
    std::error_code ec;
    const fs::path hidDevice = fs::canonical(classDir / "device", ec);
    if (ec) return std::nullopt;
    HidrawNode node;
    node.sysName = classDir.filename().string();
    auto devName = UeventValue(classDir / "uevent", "DEVNAME");
    node.devNode = (devRoot / (devName ? *devName : node.sysName)).string();
    auto hidId = UeventValue(hidDevice / "uevent", "HID_ID");
    if (!hidId || !ParseHidId(*hidId, node.attributes.vendorId, node.attributes.productId)) return std::nullopt;

    std::ifstream in(hidDevice / "report_descriptor", std::ios::binary);
    if (!in) return std::nullopt;
    node.reportDescriptor.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (node.reportDescriptor.empty()) return std::nullopt;

    // Up the tree: the USB interface (bInterfaceNumber), then the USB device (bcdDevice).
    for (fs::path dir = hidDevice.parent_path(); !dir.empty() && dir != dir.root_path(); dir = dir.parent_path()) {
        if (node.interfaceNumber < 0) {
            if (auto number = ReadNumber(dir / "bInterfaceNumber", 16)) {
                node.interfaceNumber = static_cast<int>(*number);
                continue;
            }
        }
        if (auto release = ReadNumber(dir / "bcdDevice", 16)) {
            node.attributes.versionNumber = static_cast<uint16_t>(*release);
            auto interfaces = ReadNumber(dir / "bNumInterfaces", 10);
            node.composite = interfaces && *interfaces > 1;
            break;
        }
    }
    return node;
}

std::vector<std::string> HidrawNode::Paths(const HidReportDescriptor& descriptor) const {
    std::vector<std::string> paths;
    const size_t count = descriptor.Collections().size();
    for (size_t c = 1; c <= count; ++c) {
        paths.push_back(HidPath::Make(devNode, attributes.vendorId, attributes.productId,
                                      composite ? interfaceNumber : -1, count > 1 ? int(c) : 0));
    }
    return paths;
}

}  // namespace device
