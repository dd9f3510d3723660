// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The overview of a device page's keys ("device_setkeyinfo_list"): one entry per key
// button of the picture, its own name beside what it does now, named as the picture's
// tool-tips name them. A page without the list is left alone.
//
// UI thread only.
namespace model {
class CLumitrekUSBDevice;
}

namespace panels {

class KeyInfoList {
public:
    static constexpr const char* kListName = "device_setkeyinfo_list";
    static constexpr const char* kEntryName = "key_info_entry";
    static constexpr int kEntryHeight = 26;
    static constexpr int kOwnNameWidth = 112;

    // Empties the list and fills it again from the device's key list.
    static void Rebuild(model::CLumitrekUSBDevice& device);
};

}  // namespace panels
