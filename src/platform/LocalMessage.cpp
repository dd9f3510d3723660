// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LocalMessage.h"

#include <json/json.h>

#include <array>
#include <memory>
#include <sstream>

namespace platform {

namespace {

constexpr std::array<std::string_view, 10> kKnownTypes = {
    LocalMessage::kActivate,       LocalMessage::kUpdateRelay,    LocalMessage::kLightState,
    LocalMessage::kLightControl,   LocalMessage::kWorkToolQuery,  LocalMessage::kWorkToolTable,
    LocalMessage::kSubscribe,      LocalMessage::kCommand,        LocalMessage::kCommandResult,
    LocalMessage::kRefused};

// Cut at a character boundary, so that the text stays UTF-8.
std::string Capped(std::string text) {
    if (text.size() <= LocalMessage::kMaxTextBytes) return text;
    std::size_t end = LocalMessage::kMaxTextBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.resize(end);
    return text;
}

bool IsInt(const Json::Value& value) { return value.isIntegral() && value.isInt(); }

bool Known(std::string_view type) {
    for (auto known : kKnownTypes)
        if (known == type) return true;
    return false;
}

std::optional<Json::Value> ParseObject(std::string_view line) {
    Json::CharReaderBuilder builder;
    Json::CharReaderBuilder::strictMode(&builder.settings_);
    // A 64 KiB line of "[[[[" must not turn into deep recursion in the parser.
    builder.settings_["stackLimit"] = 32;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    std::string errors;
    try {
        if (!reader->parse(line.data(), line.data() + line.size(), &root, &errors)) return std::nullopt;
    } catch (const Json::Exception&) {
        return std::nullopt;
    }
    if (!root.isObject()) return std::nullopt;
    return root;
}

}  // namespace

LocalMessage::LocalMessage(std::string_view type) : type_(type) {}

LocalMessage LocalMessage::WithParams(std::string_view type, std::int64_t wparam, std::int64_t lparam) {
    LocalMessage message(type);
    message.wparam_ = wparam;
    message.lparam_ = lparam;
    return message;
}

LocalMessage LocalMessage::WorkToolTable(std::vector<std::uint32_t> words) {
    LocalMessage message(kWorkToolTable);
    if (words.size() > kMaxWords) words.resize(kMaxWords);
    message.words_ = std::move(words);
    return message;
}

LocalMessage LocalMessage::Command(std::vector<std::string> args, std::string workingDir) {
    LocalMessage message(kCommand);
    message.version_ = kCommandVersion;
    if (args.size() > kMaxArgs) args.resize(kMaxArgs);
    message.args_ = std::move(args);
    message.workingDir_ = std::move(workingDir);
    return message;
}

LocalMessage LocalMessage::Refused(std::string_view reason) {
    LocalMessage message(kRefused);
    message.reason_ = reason;
    return message;
}

LocalMessage LocalMessage::CommandResult(int code, std::string out, std::string err) {
    LocalMessage message(kCommandResult);
    message.version_ = kCommandVersion;
    message.code_ = code;
    message.out_ = Capped(std::move(out));
    message.err_ = Capped(std::move(err));
    return message;
}

bool LocalMessage::TakesParams(std::string_view type) {
    return type == kUpdateRelay || type == kLightState || type == kLightControl;
}

std::optional<LocalMessage> LocalMessage::Parse(std::string_view line) {
    if (line.size() >= kMaxLineBytes) return std::nullopt;
    auto root = ParseObject(line);
    if (!root) return std::nullopt;
    const Json::Value& type = (*root)["type"];
    if (!type.isString() || !Known(type.asString())) return std::nullopt;

    LocalMessage message(type.asString());
    if (TakesParams(message.type_)) {
        const Json::Value& w = (*root)["wparam"];
        const Json::Value& l = (*root)["lparam"];
        if (!w.isIntegral() || !l.isIntegral() || !w.isInt64() || !l.isInt64()) return std::nullopt;
        message.wparam_ = w.asInt64();
        message.lparam_ = l.asInt64();
    }
    if (message.Is(kWorkToolTable)) {
        const Json::Value& words = (*root)["words"];
        if (!words.isArray() || words.size() > kMaxWords) return std::nullopt;
        for (const Json::Value& word : words) {
            if (!word.isIntegral() || !word.isUInt()) return std::nullopt;
            message.words_.push_back(static_cast<std::uint32_t>(word.asUInt()));
        }
    }
    if (message.Is(kCommand) || message.Is(kCommandResult)) {
        const Json::Value& version = (*root)["version"];
        if (!IsInt(version)) return std::nullopt;
        message.version_ = version.asInt();
    }
    if (message.Is(kCommand)) {
        const Json::Value& args = (*root)["args"];
        if (!args.isArray() || args.size() > kMaxArgs) return std::nullopt;
        for (const Json::Value& arg : args) {
            if (!arg.isString()) return std::nullopt;
            message.args_.push_back(arg.asString());
        }
        if (root->isMember("cwd")) {
            const Json::Value& cwd = (*root)["cwd"];
            if (!cwd.isString()) return std::nullopt;
            message.workingDir_ = cwd.asString();
        }
    }
    if (message.Is(kRefused)) {
        const Json::Value& reason = (*root)["reason"];
        if (!reason.isString()) return std::nullopt;
        message.reason_ = Capped(reason.asString());
    }
    if (message.Is(kCommandResult)) {
        const Json::Value& code = (*root)["code"];
        const Json::Value& out = (*root)["out"];
        const Json::Value& err = (*root)["err"];
        if (!IsInt(code) || !out.isString() || !err.isString()) return std::nullopt;
        message.code_ = code.asInt();
        message.out_ = out.asString();
        message.err_ = err.asString();
    }
    return message;
}

std::string LocalMessage::Encode() const {
    Json::Value root(Json::objectValue);
    root["type"] = type_;
    if (TakesParams(type_)) {
        root["wparam"] = Json::Int64(wparam_);
        root["lparam"] = Json::Int64(lparam_);
    }
    if (Is(kWorkToolTable)) {
        Json::Value words(Json::arrayValue);
        for (auto word : words_) words.append(Json::UInt(word));
        root["words"] = words;
    }
    if (Is(kCommand) || Is(kCommandResult)) root["version"] = version_;
    if (Is(kCommand)) {
        Json::Value args(Json::arrayValue);
        for (const auto& arg : args_) args.append(arg);
        root["args"] = args;
        if (!workingDir_.empty()) root["cwd"] = workingDir_;
    }
    if (Is(kRefused)) root["reason"] = reason_;
    if (Is(kCommandResult)) {
        root["code"] = code_;
        root["out"] = out_;
        root["err"] = err_;
    }
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, root) + "\n";
}

}  // namespace platform
