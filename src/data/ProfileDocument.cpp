// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/ProfileDocument.h"

#include "data/JsonAccess.h"

bool ProfileDocument::IsImportable(const Json::Value& root) {
    if (!JsonAccess::IsObject(root) || !root[kName].isString() || root[kUuid].isNull())
        return false;
    const Json::Value& sections = root["Device"];
    if (!JsonAccess::IsArray(sections) || sections.empty() || !JsonAccess::IsObject(sections[0]))
        return false;
    for (const Json::Value& section : sections)
        if (!section.isNull() && !JsonAccess::IsObject(section)) return false;
    return true;
}
