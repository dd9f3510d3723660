// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What --diagnose reports: every hidraw node with its vendor and product, which of its
// collections this program uses, whether this user can open the node for reading and
// writing, and whether the udev rule that grants that access is installed; in words a
// user can act on.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace device {

struct DiagnosisOptions {
    std::filesystem::path sysRoot = "/sys";
    std::filesystem::path devRoot = "/dev";
    std::vector<std::filesystem::path> ruleDirs = {"/etc/udev/rules.d", "/run/udev/rules.d",
                                                   "/usr/lib/udev/rules.d", "/lib/udev/rules.d",
                                                   "/usr/local/lib/udev/rules.d"};
    std::string ruleFile = "60-telix-tx512.rules";
};

class DeviceDiagnosis {
public:
    struct Collection {
        std::string path;
        int number = 0;  // 1-based
        uint16_t usagePage = 0;
        uint16_t usage = 0;
        int slot = -1;  // the supported-interface row it fills, or -1
    };
    struct Node {
        std::string devNode;
        uint16_t vendorId = 0;
        uint16_t productId = 0;
        int interfaceNumber = -1;
        bool readable = false;  // the descriptor could be read from sysfs
        bool canOpenReadWrite = false;
        std::string openError;
        std::vector<Collection> collections;
        bool Supported() const;
    };

    explicit DeviceDiagnosis(DiagnosisOptions options = {});

    std::vector<Node> Nodes() const;
    std::optional<std::filesystem::path> InstalledRule() const;
    std::string Report() const;

private:
    DiagnosisOptions options_;
};

}  // namespace device
