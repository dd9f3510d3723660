// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/JsonAccess.h"

#include <cmath>

namespace {

const Json::Value& Null() {
    static const Json::Value null;
    return null;
}

}  // namespace

const Json::Value& JsonAccess::Member(const Json::Value& parent, const char* name) {
    if (!IsObject(parent)) return Null();
    const Json::Value* found = parent.find(name, name + std::char_traits<char>::length(name));
    return found ? *found : Null();
}

const Json::Value& JsonAccess::Element(const Json::Value& parent, int index) {
    if (!IsArray(parent) || index < 0 || static_cast<Json::ArrayIndex>(index) >= parent.size())
        return Null();
    return parent[static_cast<Json::ArrayIndex>(index)];
}

int32_t JsonAccess::ToInt(const Json::Value& value) {
    switch (value.type()) {
        case Json::intValue:
            return static_cast<int32_t>(static_cast<uint32_t>(value.asLargestInt()));
        case Json::uintValue:
            return static_cast<int32_t>(static_cast<uint32_t>(value.asLargestUInt()));
        case Json::realValue: {
            const double real = value.asDouble();
            if (!std::isfinite(real) || std::fabs(real) >= 9.0e18) return 0;
            return static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(real)));
        }
        case Json::booleanValue:
            return value.asBool() ? 1 : 0;
        default:
            return 0;
    }
}

bool JsonAccess::ToBool(const Json::Value& value) {
    switch (value.type()) {
        case Json::intValue:
        case Json::uintValue:
        case Json::realValue:
        case Json::booleanValue:
            return value.asBool();
        default:
            return false;
    }
}

std::string JsonAccess::ToText(const Json::Value& value) {
    switch (value.type()) {
        case Json::stringValue:
        case Json::intValue:
        case Json::uintValue:
        case Json::realValue:
        case Json::booleanValue:
            return value.asString();
        default:
            return {};
    }
}

Json::Value& JsonAccess::WritableMember(Json::Value& parent, const char* name) {
    if (!IsObject(parent)) parent = Json::Value(Json::objectValue);
    return parent[name];
}

Json::Value& JsonAccess::WritableElement(Json::Value& parent, Json::ArrayIndex index) {
    if (!IsArray(parent)) parent = Json::Value(Json::arrayValue);
    return parent[index];
}
