// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/UpdateDateFile.h"

#include <json/json.h>

#include <ctime>

#include "data/JsonAccess.h"
#include "data/JsonDataFile.h"
#include "platform/Paths.h"

namespace update {

namespace {

constexpr const char* kMember = "updatelasttime";

}  // namespace

std::filesystem::path UpdateDateFile::File() {
    return platform::UserRootDir() / "updatetime.config";
}

std::string UpdateDateFile::Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return std::to_string(local.tm_year + 1900) + "-" + std::to_string(local.tm_mon + 1) + "-" +
           std::to_string(local.tm_mday);
}

std::string UpdateDateFile::ReadOrCreate(const std::string& today) {
    const Json::Value root = JsonDataFile().ReadJsonFile(File());
    const Json::Value& value = JsonAccess::Member(JsonAccess::Member(root, kMember), "value");
    if (value.isString() && !value.asString().empty()) return value.asString();
    Write(today);
    return today;
}

bool UpdateDateFile::Write(const std::string& date) {
    const JsonDataFile file;
    Json::Value root = file.ReadJsonFile(File());
    if (!root.isObject()) root = Json::Value(Json::objectValue);
    root[kMember] = Json::Value(Json::objectValue);
    root[kMember]["value"] = date;
    return file.WriteJsonFile(File(), root);
}

}  // namespace update
