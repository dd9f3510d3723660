// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as the update service's answer: only a JSON object with a whole-number
// version and a web address (or none) can offer a newer version, and every text the
// list shows is short and free of control characters. Input: the installed version
// (4 bytes), the firmware flag (1 byte), then the answer.
#include "data/JsonInputGuard.h"
#include "fuzz/FuzzSupport.h"
#include "update/UpdateQuery.h"
#include "update/WebAddress.h"

using update::UpdateInfo;
using update::UpdateQuery;

namespace {

void CheckShown(const std::string& text) {
    FUZZ_CHECK(text.size() <= UpdateQuery::kMaxShownBytes);
    FUZZ_CHECK(JsonInputGuard::IsValidUtf8(text));
    for (unsigned char c : text) FUZZ_CHECK(c >= 0x20 && c != 0x7F);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 5) return 0;
    const uint32_t version = uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 |
                             uint32_t(data[3]) << 24;
    const int hexFlag = data[4] & 1;
    const std::string answer(fuzz::AsText(data + 5, size - 5));
    const UpdateInfo info = UpdateQuery::ReadAnswer(answer.data(), answer.size(), version, hexFlag);

    FUZZ_CHECK(info.localVersion == UpdateQuery::LocalVersionText(version, hexFlag));
    FUZZ_CHECK(info.status == UpdateInfo::kNewer || info.status == UpdateInfo::kUpToDate);
    CheckShown(info.name);
    CheckShown(info.serverVersionName);
    FUZZ_CHECK(info.serverVersion.size() <= UpdateQuery::kMaxShownBytes + 1);
    FUZZ_CHECK(info.downloadUrl.empty() || update::IsSecureWebAddress(info.downloadUrl));
    // An answer that could not be used offers nothing at all.
    if (info.unanswered)
        FUZZ_CHECK(info.status != UpdateInfo::kNewer && info.name.empty() &&
                   info.downloadUrl.empty());
    if (info.status == UpdateInfo::kNewer) {
        FUZZ_CHECK(!info.name.empty());
        FUZZ_CHECK(version < UINT32_MAX);
    }
    if (info.name.empty()) FUZZ_CHECK(info.status == UpdateInfo::kUpToDate);
    return 0;
}
