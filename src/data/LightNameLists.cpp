// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/LightNameLists.h"

#include "data/JsonAccess.h"

namespace {

// The array at element [index] of member `name`, or null.
const Json::Value& KindList(const Json::Value& root, const char* name, int index) {
    const Json::Value& list = JsonAccess::Element(JsonAccess::Member(root, name), index);
    static const Json::Value null;
    return JsonAccess::IsArray(list) ? list : null;
}

void ReadNames(const Json::Value& list, std::vector<std::string>& names) {
    names.clear();
    for (const Json::Value& element : list)
        names.push_back(JsonAccess::ReadText(element, "LightName"));
}

}  // namespace

void LightNameLists::Load(const JsonDataFile& files, int lightListIndex,
                          const std::filesystem::path& defaultLightFile,
                          const std::filesystem::path& lightConfigFile) {
    const Json::Value defaults = files.ReadJsonFile(defaultLightFile);
    if (const Json::Value& modes = KindList(defaults, "DefaultLightName", lightListIndex);
        !modes.isNull()) {
        ReadNames(modes, defaultNames);
        defaultVisible.clear();
        for (const Json::Value& element : modes)
            defaultVisible.push_back(JsonAccess::ReadBool(element, "visible"));
    }
    if (const Json::Value& areas = KindList(defaults, "AreaLightName", lightListIndex);
        !areas.isNull())
        ReadNames(areas, areaNames);

    const Json::Value config = files.ReadJsonFile(lightConfigFile);
    if (const Json::Value& programs = KindList(config, "LightInfo", lightListIndex);
        !programs.isNull())
        ReadNames(programs, programNames);
}
