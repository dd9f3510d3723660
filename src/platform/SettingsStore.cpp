// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SettingsStore.h"

#include <json/json.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "platform/AtomicFile.h"
#include "platform/Paths.h"

namespace platform {

namespace {

constexpr std::streamsize kMaxSettingsBytes = 1 << 20;

Json::Value ReadDocument(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return Json::Value(Json::objectValue);
    std::string text(static_cast<size_t>(kMaxSettingsBytes) + 1, '\0');
    in.read(text.data(), kMaxSettingsBytes + 1);
    if (in.gcount() > kMaxSettingsBytes) return Json::Value(Json::objectValue);
    text.resize(static_cast<size_t>(in.gcount()));

    Json::CharReaderBuilder builder;
    builder["stackLimit"] = 64;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    std::string errors;
    if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors) ||
        !root.isObject()) {
        return Json::Value(Json::objectValue);
    }
    return root;
}

}  // namespace

SettingsStore::SettingsStore(std::filesystem::path file) : file_(std::move(file)) {
    if (file_.empty()) file_ = ConfigDir() / "settings.json";
}

std::optional<std::string> SettingsStore::Get(const std::string& name) const {
    Json::Value root = ReadDocument(file_);
    const Json::Value& value = root[name];
    if (!value.isString()) return std::nullopt;
    return value.asString();
}

bool SettingsStore::Set(const std::string& name, const std::string& value) {
    Json::Value root = ReadDocument(file_);
    root[name] = value;
    Json::StyledWriter writer;
    return WriteFileAtomically(file_, writer.write(root));
}

}  // namespace platform
