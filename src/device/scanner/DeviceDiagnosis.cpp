// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/scanner/DeviceDiagnosis.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "device/hid/HidPath.h"
#include "device/hid/HidReportDescriptor.h"
#include "device/hid/HidrawBackend.h"
#include "device/hid/HidrawNode.h"
#include "device/scanner/DeviceKind.h"
#include "device/scanner/SupportedDevices.h"

namespace device {

namespace fs = std::filesystem;

namespace {

std::string Hex4(uint16_t v) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", v);
    return text;
}

int SlotFor(uint16_t vendor, uint16_t product, int interfaceNumber, int collection, uint16_t page, uint16_t usage) {
    const auto& table = SupportedInterfaceTable();
    for (size_t i = 0; i < table.size(); ++i) {
        const auto& r = table[i];
        if (!r.IsPlaceholder() && r.vendorId == vendor && r.productId == product &&
            r.interfaceNumber == interfaceNumber && r.collectionNumber == collection && r.usagePage == page &&
            r.usage == usage) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string SlotWords(int slot) {
    const auto& row = SupportedInterfaceTable()[size_t(slot)];
    std::string device = row.kind == kKindKeyboard ? "TX512 keyboard" : row.kind == kKindMousePad ? "mouse pad" : "device";
    return device + (row.role == kRoleEvent ? " events" : " commands");
}

}  // namespace

bool DeviceDiagnosis::Node::Supported() const {
    for (const auto& c : collections) {
        if (c.slot >= 0) return true;
    }
    return false;
}

DeviceDiagnosis::DeviceDiagnosis(DiagnosisOptions options) : options_(std::move(options)) {}

std::vector<DeviceDiagnosis::Node> DeviceDiagnosis::Nodes() const {
    std::vector<Node> nodes;
    HidrawBackend backend(options_.sysRoot, options_.devRoot);
    for (const auto& dir : backend.NodeDirs()) {
        Node node;
        node.devNode = (options_.devRoot / dir.filename()).string();
        auto info = HidrawNode::Read(dir, options_.devRoot);
        if (info) {
            node.devNode = info->devNode;
            node.vendorId = info->attributes.vendorId;
            node.productId = info->attributes.productId;
            node.interfaceNumber = info->interfaceNumber;
            if (auto descriptor = HidReportDescriptor::Parse(info->reportDescriptor)) {
                node.readable = true;
                const auto paths = info->Paths(*descriptor);
                for (size_t i = 0; i < descriptor->Collections().size(); ++i) {
                    const auto& c = descriptor->Collections()[i];
                    Collection entry{paths[i], c.Number(), c.UsagePage(), c.Usage(), -1};
                    entry.slot = SlotFor(node.vendorId, node.productId, HidPath::InterfaceNumber(paths[i]),
                                         HidPath::CollectionNumber(paths[i]), c.UsagePage(), c.Usage());
                    node.collections.push_back(entry);
                }
            }
        }
        int fd = ::open(node.devNode.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            node.canOpenReadWrite = true;
            ::close(fd);
        } else {
            node.openError = std::strerror(errno);
        }
        nodes.push_back(std::move(node));
    }
    return nodes;
}

std::optional<fs::path> DeviceDiagnosis::InstalledRule() const {
    for (const auto& dir : options_.ruleDirs) {
        std::error_code ec;
        fs::path file = dir / options_.ruleFile;
        if (fs::is_regular_file(file, ec)) return file;
    }
    return std::nullopt;
}

std::string DeviceDiagnosis::Report() const {
    std::ostringstream out;
    const auto rule = InstalledRule();
    out << "udev rule: ";
    if (rule) {
        out << "installed (" << rule->string() << ")\n";
    } else {
        out << "NOT installed. Without it only root can talk to the keyboard and the mouse pad.\n"
            << "  Install it with:\n"
            << "    sudo install -m 644 packaging/" << options_.ruleFile << " /etc/udev/rules.d/\n"
            << "    sudo udevadm control --reload && sudo udevadm trigger --subsystem-match=hidraw\n"
            << "  then unplug the device and plug it in again.\n";
    }

    const auto nodes = Nodes();
    out << "\nHID raw devices: " << nodes.size() << "\n";
    if (nodes.empty()) {
        out << "  None found. Plug the keyboard or the mouse pad in; if it still does not show,\n"
            << "  check that the hidraw driver is loaded (ls /dev/hidraw*).\n";
    }
    int supportedNodes = 0, blockedNodes = 0;
    for (const auto& node : nodes) {
        out << "  " << node.devNode << "  " << Hex4(node.vendorId) << ":" << Hex4(node.productId);
        if (node.interfaceNumber >= 0) out << "  interface " << node.interfaceNumber;
        out << "\n";
        if (!node.readable) out << "    its report descriptor cannot be read or understood\n";
        for (const auto& c : node.collections) {
            out << "    collection " << c.number << "  usage " << Hex4(c.usagePage) << ":" << Hex4(c.usage) << "  ";
            if (c.slot >= 0) {
                out << "supported: " << SlotWords(c.slot) << " (slot " << c.slot << ")\n";
            } else {
                out << "not used by this program\n";
            }
        }
        out << "    open for reading and writing: "
            << (node.canOpenReadWrite ? "yes" : "no (" + node.openError + ")") << "\n";
        if (node.Supported()) {
            ++supportedNodes;
            if (!node.canOpenReadWrite) ++blockedNodes;
        }
    }

    out << "\n";
    if (supportedNodes == 0) {
        out << "No TX512 keyboard or mouse pad is attached. Plug one in and run this again.\n";
    } else if (blockedNodes > 0) {
        out << blockedNodes << " supported device node(s) cannot be opened by this user.\n";
        out << (rule ? "The rule is installed: unplug the device and plug it in again, and make sure you\n"
                       "are logged in at the machine itself (a remote login gets no device access).\n"
                     : "Install the udev rule as shown above.\n");
    } else {
        out << "All supported devices can be used.\n";
    }
    return out.str();
}

}  // namespace device
