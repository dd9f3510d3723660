// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a whole profile file must look like to be taken from outside (an import): what an
// export writes, an object with a "profilename" string, a "profileUUID" and the device
// sections as a "Device" array whose first element is a section (an object) and whose
// other elements are sections or null.
#include <json/json.h>

class ProfileDocument {
public:
    static constexpr const char* kName = "profilename";
    static constexpr const char* kUuid = "profileUUID";

    static bool IsImportable(const Json::Value& root);
};
