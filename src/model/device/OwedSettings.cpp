// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/OwedSettings.h"

#include <json/json.h>

#include <system_error>

#include "data/JsonDataFile.h"

namespace model {

namespace {

constexpr const char* kOwed = "SettingsOwed";

}  // namespace

void OwedSettings::Attach(const std::filesystem::path& file) {
    file_ = file;
    const Json::Value document = JsonDataFile().ReadJsonFile(file);
    owed_ = document.isObject() && document[kOwed].isBool() && document[kOwed].asBool();
}

void OwedSettings::Ended(std::uint64_t ticket, bool reached) {
    if (ticket < lastEnded_) return;
    lastEnded_ = ticket;
    Set(!reached);
}

void OwedSettings::Settle() {
    Set(false);
}

void OwedSettings::Set(bool owed) {
    if (owed == owed_) return;
    owed_ = owed;
    if (file_.empty()) return;
    if (!owed) {
        std::error_code ignored;
        std::filesystem::remove(file_, ignored);
        return;
    }
    Json::Value document(Json::objectValue);
    document[kOwed] = true;
    // Unwritten, the debt lasts as long as this run: the next connection still pays it.
    JsonDataFile().WriteJsonFile(file_, document);
}

}  // namespace model
