// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A throw-away sysfs and /dev tree in a temporary folder, shaped like the kernel's for
// hidraw nodes of USB devices: class link, hidraw device, HID device with its uevent and
// report descriptor, USB interface, USB device.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

class FakeSysfsTree {
public:
    explicit FakeSysfsTree(const std::string& name)
        : root_(std::filesystem::temp_directory_path() / ("tx512-sysfs-" + std::to_string(::getpid()) + "-" + name)) {
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "sys/class/hidraw");
        std::filesystem::create_directories(root_ / "dev");
    }
    ~FakeSysfsTree() { std::filesystem::remove_all(root_); }
    FakeSysfsTree(const FakeSysfsTree&) = delete;
    FakeSysfsTree& operator=(const FakeSysfsTree&) = delete;

    // hidId as in the kernel's uevent: "0003:0000320F:0000505B".
    void AddNode(const std::string& name, const std::string& port, int interfaces, int number,
                 const std::string& hidId, const std::vector<uint8_t>& descriptor) {
        namespace fs = std::filesystem;
        const fs::path usb = root_ / "sys/devices/pci0000:00/usb1" / port;
        Write(usb / "bcdDevice", "0105\n");
        Write(usb / "bNumInterfaces", " " + std::to_string(interfaces) + "\n");
        const fs::path intf = usb / (port + ":1." + std::to_string(number));
        Write(intf / "bInterfaceNumber", "0" + std::to_string(number) + "\n");
        const fs::path hid = intf / (hidId.substr(0, 4) + ":" + hidId.substr(9, 4) + ":" + hidId.substr(18, 4) + ".0001");
        Write(hid / "uevent", "DRIVER=hid-generic\nHID_ID=" + hidId + "\nHID_NAME=test\n");
        Write(hid / "report_descriptor", std::string(descriptor.begin(), descriptor.end()));
        const fs::path node = hid / "hidraw" / name;
        Write(node / "uevent", "MAJOR=240\nMINOR=3\nDEVNAME=" + name + "\n");
        fs::create_directory_symlink(hid, node / "device");
        fs::create_directory_symlink(node, root_ / "sys/class/hidraw" / name);
        Write(root_ / "dev" / name, "");
    }

    static void Write(const std::filesystem::path& file, const std::string& text) {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }

    std::filesystem::path Root() const { return root_; }
    std::filesystem::path Sys() const { return root_ / "sys"; }
    std::filesystem::path Dev() const { return root_ / "dev"; }

private:
    std::filesystem::path root_;
};
