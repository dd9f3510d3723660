// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/UpdateQuery.h"

#include <json/json.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "data/JsonInputGuard.h"
#include "update/HttpClient.h"
#include "update/WebAddress.h"

namespace update {

namespace {

constexpr std::size_t kMaxAddressBytes = 2048;

// A whole number in the version's base that fits 32 bits; nothing else counts as one.
bool ReadVersion(const std::string& text, int base, std::uint32_t& value) {
    if (text.empty() || text.size() > 10) return false;
    std::uint64_t v = 0;
    for (const char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0) return false;
        v = v * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (v > UINT32_MAX) return false;
    }
    value = static_cast<std::uint32_t>(v);
    return true;
}

// "version" as the service writes it: a string, or a plain number tolerated as its digits.
std::string VersionText(const Json::Value& member) {
    if (member.isString()) return member.asString();
    if (member.isUInt()) return std::to_string(member.asUInt());
    return {};
}

bool IsDownloadAddress(std::string_view address) {
    return address.size() <= kMaxAddressBytes && IsSecureWebAddress(address);
}

// A text of the answer as the list may show it: no control characters, and short.
std::string Shown(const Json::Value& member) {
    if (!member.isString()) return {};
    std::string text;
    for (const char c : member.asString()) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) continue;
        text.push_back(c);
    }
    if (text.size() > UpdateQuery::kMaxShownBytes) {
        std::size_t cut = UpdateQuery::kMaxShownBytes;
        // Never in the middle of a character.
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
        text.resize(cut);
    }
    return text;
}

bool ParseObject(std::string_view text, Json::Value& root) {
    if (JsonInputGuard::CheckText(text) != nullptr) return false;
    Json::CharReaderBuilder builder;
    Json::CharReaderBuilder::strictMode(&builder.settings_);
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string errors;
    try {
        if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors)) return false;
    } catch (const std::exception&) {
        return false;
    }
    return root.isObject() && JsonInputGuard::CheckStrings(root);
}

}  // namespace

std::string UpdateQuery::ServiceUrl(std::string_view baseUrl) {
    return std::string(baseUrl) + "api/" + "updates";
}

std::string UpdateQuery::FormValue(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' ||
                           byte == '_' || byte == '~';
        if (plain) {
            out.push_back(c);
        } else if (byte == ' ') {
            out.push_back('+');
        } else {
            out.push_back('%');
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 0x0F]);
        }
    }
    return out;
}

std::string UpdateQuery::RequestBody(std::string_view key, std::uint32_t version, int hexFlag) {
    char number[16];
    std::snprintf(number, sizeof number, hexFlag != 0 ? "%x" : "%u", version);
    return "app_key=" + FormValue(key) + "&version=" + number;
}

std::string UpdateQuery::LocalVersionText(std::uint32_t version, int hexFlag) {
    char text[16];
    std::snprintf(text, sizeof text, hexFlag != 0 ? "V%04x" : "V%u", version);
    return text;
}

UpdateInfo UpdateQuery::ReadAnswer(const char* data, std::size_t size, std::uint32_t version,
                                   int hexFlag) {
    UpdateInfo info;
    info.localVersion = LocalVersionText(version, hexFlag);
    UpdateInfo refused = info;
    refused.unanswered = true;
    Json::Value root;
    if (data == nullptr || !ParseObject(std::string_view(data, size), root)) return refused;
    const Json::Value& name = root["name"];
    // No name: the service knows of nothing newer.
    if (name.isNull() || (name.isString() && name.asString().empty())) return info;
    if (!name.isString()) return refused;
    info.name = Shown(name);
    if (info.name.empty()) return refused;  // nothing but control characters
    info.serverVersionName = Shown(root["version_name"]);
    if (root["device_id"].isInt()) info.deviceId = root["device_id"].asInt();

    const std::string versionText = VersionText(root["version"]);
    std::uint32_t offered = 0;
    const bool versionOk = ReadVersion(versionText, hexFlag != 0 ? 16 : 10, offered);
    const Json::Value& path = root["path"];
    const bool pathOk = path.isNull() || (path.isString() && path.asString().empty()) ||
                        (path.isString() && IsDownloadAddress(path.asString()));
    if (!versionOk || !pathOk) return refused;
    if (path.isString()) info.downloadUrl = path.asString();
    info.serverVersion = hexFlag != 0 ? "V" + versionText : info.serverVersionName;
    info.status = offered > version ? UpdateInfo::kNewer : UpdateInfo::kUpToDate;
    return info;
}

UpdateInfo UpdateQuery::Ask(HttpClient& client, std::string_view baseUrl, std::string_view key,
                            std::uint32_t version, int hexFlag, const platform::Event* cancel,
                            int limitMs) {
    UpdateInfo unanswered;
    unanswered.localVersion = LocalVersionText(version, hexFlag);
    unanswered.unanswered = true;
    if (!IsSecureWebAddress(baseUrl)) return unanswered;

    const std::string body = RequestBody(key, version, hexFlag);
    std::vector<char> buffer(kAnswerCapacity, 0);
    client.Reset();
    client.Settings().httpsOnly = true;
    client.Settings().totalTimeoutMs = limitMs;
    const long size = client.Request("POST", ServiceUrl(baseUrl), body, buffer.data(),
                                     buffer.size(), false, cancel);
    const long status = client.Settings().lastStatus;
    // Nothing came, another status (an error page, a redirect), an answer cut short by
    // the limit, or one too long to be read whole: no answer at all.
    if (size <= 0 || status < 200 || status > 299 || client.Settings().lastError != 0 ||
        client.Settings().lastCut)
        return unanswered;
    return ReadAnswer(buffer.data(), static_cast<std::size_t>(size), version, hexFlag);
}

}  // namespace update
