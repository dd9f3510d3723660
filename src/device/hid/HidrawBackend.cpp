// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/HidrawBackend.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "device/hid/HidPath.h"
#include "device/hid/HidReportDescriptor.h"
#include "device/hid/HidrawConnection.h"
#include "device/hid/HidrawNode.h"
#include "device/hid/UdevChangeMonitor.h"

namespace device {

namespace fs = std::filesystem;

namespace {

// hidraw3 before hidraw10.
bool NodeOrder(const fs::path& a, const fs::path& b) {
    auto number = [](const fs::path& p) {
        const std::string name = p.filename().string();
        return std::strtoul(name.c_str() + std::min<size_t>(name.size(), 6), nullptr, 10);
    };
    return number(a) < number(b);
}

}  // namespace

HidrawBackend::HidrawBackend(fs::path sysRoot, fs::path devRoot)
    : sysRoot_(std::move(sysRoot)), devRoot_(std::move(devRoot)) {}

std::vector<fs::path> HidrawBackend::NodeDirs() const {
    std::vector<fs::path> dirs;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(sysRoot_ / "class" / "hidraw", ec)) {
        if (entry.path().filename().string().rfind("hidraw", 0) == 0) dirs.push_back(entry.path());
    }
    std::sort(dirs.begin(), dirs.end(), NodeOrder);
    return dirs;
}

bool HidrawBackend::Enumerate(std::vector<std::string>& paths) {
    paths.clear();
    std::error_code ec;
    const fs::path classDir = sysRoot_ / "class" / "hidraw";
    if (!fs::exists(classDir, ec)) return !ec;  // no hidraw driver loaded: nothing present
    for (const auto& dir : NodeDirs()) {
        auto node = HidrawNode::Read(dir, devRoot_);
        if (!node) continue;  // gone meanwhile, or unreadable: it adds no path
        auto descriptor = HidReportDescriptor::Parse(node->reportDescriptor);
        if (!descriptor) continue;
        for (auto& p : node->Paths(*descriptor)) paths.push_back(std::move(p));
    }
    return true;
}

fs::path HidrawBackend::ClassDirOf(const std::string& path) const {
    const fs::path node(std::string(HidPath::Node(path)));
    return sysRoot_ / "class" / "hidraw" / node.filename();
}

std::shared_ptr<HidConnection> HidrawBackend::Open(const std::string& path, const HidOpenMode& mode) {
    auto node = HidrawNode::Read(ClassDirOf(path), devRoot_);
    if (!node || node->devNode != std::string(HidPath::Node(path))) return nullptr;
    // hidraw numbers are reused: the tokens must still describe the device on the node.
    if (HidPath::VendorId(path) != node->attributes.vendorId ||
        HidPath::ProductId(path) != node->attributes.productId) {
        return nullptr;
    }
    if (node->composite && HidPath::InterfaceNumber(path) != node->interfaceNumber) return nullptr;
    auto descriptor = HidReportDescriptor::Parse(node->reportDescriptor);
    if (!descriptor) return nullptr;

    HidConnectionInfo info{node->attributes, node->interfaceNumber, node->reportDescriptor};
    if (!mode.read && !mode.write) {
        return std::make_shared<HidrawConnection>(-1, std::move(info), descriptor->UsesReportIds());
    }
    int flags = O_NONBLOCK | O_CLOEXEC | (mode.read && mode.write ? O_RDWR : mode.write ? O_WRONLY : O_RDONLY);
    int fd = ::open(node->devNode.c_str(), flags);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    if (mode.write) {
        // Advisory: an exclusive writer keeps out the writers that ask the same way.
        if (::flock(fd, (mode.exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
            ::close(fd);
            return nullptr;
        }
    }
    auto connection = std::make_shared<HidrawConnection>(fd, std::move(info), descriptor->UsesReportIds());
    connection->SetReadable(mode.read);
    return connection;
}

bool HidrawBackend::IsPresent(const std::string& path) {
    struct stat st {};
    const std::string devNode(HidPath::Node(path));
    if (::stat(devNode.c_str(), &st) != 0) return false;
    uint16_t vendor = 0, product = 0;
    if (!HidrawNode::ReadIds(ClassDirOf(path), vendor, product)) return false;
    return vendor == HidPath::VendorId(path) && product == HidPath::ProductId(path);
}

std::unique_ptr<HidChangeMonitor> HidrawBackend::WatchChanges() { return UdevChangeMonitor::Create(); }

}  // namespace device
