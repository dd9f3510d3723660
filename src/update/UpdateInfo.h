// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the update service said about one product, as its list entry shows it.
#include <string>

namespace update {

struct UpdateInfo {
    // Entry states: 0 no information, 1 and 2 a newer version, 3 waiting for download,
    // 4 downloading, 5 downloaded, 6 installing, 7 up to date, 8 failed.
    static constexpr int kNewer = 1;
    static constexpr int kWaitingForDownload = 3;
    static constexpr int kUpToDate = 7;
    static constexpr int kFailed = 8;

    int status = kUpToDate;
    int deviceId = 0;
    std::string name;
    std::string localVersion;
    std::string serverVersionName;
    std::string serverVersion;
    std::string downloadUrl;
    std::string targetFile;
    // No answer that could be used: the service was not reached (or none is configured),
    // or it answered with another status than 2xx, too late, or not the expected JSON.
    bool unanswered = false;
};

}  // namespace update
