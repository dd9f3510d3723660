// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading and writing parts of a JSON document that may have any shape at all.
// jsoncpp throws (or asserts) when a member is asked of an array or an element of a
// string; data files are user-editable, so every access to them goes through here.
// Readers never throw and never change the document: what is missing or of the wrong
// shape reads as null, 0, false or "". Writers make room: a value of the wrong shape in
// the way of a write is replaced by an empty object or array.
#include <json/json.h>

#include <cstdint>
#include <string>

class JsonAccess {
public:
    // Writers never grow an array to this index or beyond, so that an index taken from
    // a file cannot make the program allocate without bound.
    static constexpr int kMaxWriteIndex = 1024;
    static bool IsWritableIndex(int index) { return index >= 0 && index < kMaxWriteIndex; }

    static const Json::Value& Member(const Json::Value& parent, const char* name);
    static const Json::Value& Element(const Json::Value& parent, int index);

    // Numbers (truncated to their low 32 bits) and booleans; anything else is 0.
    static int32_t ToInt(const Json::Value& value);
    // Non-zero numbers and true.
    static bool ToBool(const Json::Value& value);
    // Strings, and numbers or booleans in their text form; anything else is "".
    static std::string ToText(const Json::Value& value);

    static int32_t ReadInt(const Json::Value& parent, const char* name) {
        return ToInt(Member(parent, name));
    }
    static bool ReadBool(const Json::Value& parent, const char* name) {
        return ToBool(Member(parent, name));
    }
    static std::string ReadText(const Json::Value& parent, const char* name) {
        return ToText(Member(parent, name));
    }
    static uint8_t ReadByte(const Json::Value& parent, const char* name) {
        return static_cast<uint8_t>(ReadInt(parent, name));
    }
    static uint8_t ReadFlag(const Json::Value& parent, const char* name) {
        return ReadBool(parent, name) ? 1 : 0;
    }

    static bool IsObject(const Json::Value& value) { return value.type() == Json::objectValue; }
    static bool IsArray(const Json::Value& value) { return value.type() == Json::arrayValue; }

    // The member, made an object first when the parent is not one.
    static Json::Value& WritableMember(Json::Value& parent, const char* name);
    // The element, made an array first when the parent is not one. The caller keeps
    // the index below kMaxWriteIndex when it comes from outside.
    static Json::Value& WritableElement(Json::Value& parent, Json::ArrayIndex index);
};
