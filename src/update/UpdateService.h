// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the update service is: configuration, never built in. The base URL comes from
// TX512_UPDATE_URL in the environment, else from the setting "UpdateURL" of the settings
// store; a file of certificate authorities to trust instead of the system's from
// TX512_UPDATE_CA_FILE, else "UpdateCAFile". Without a base URL the check asks nothing.
//
// Only an https:// address is taken. A plain http:// one (or anything else) is refused
// rather than quietly ignored: `refusedSetting` names where it came from, so the user can
// be told which setting to mend. A service with a private authority stays possible
// through the CA file.
#include <string>
#include <string_view>

#include "platform/SettingsStore.h"

namespace update {

struct UpdateService {
    static constexpr const char* kUrlVariable = "TX512_UPDATE_URL";
    static constexpr const char* kUrlSetting = "UpdateURL";

    std::string baseUrl;  // "https://host[:port]/path/", ending with "/"; empty: none
    std::string caFile;
    // The variable or setting whose address was refused; empty when none was.
    std::string refusedSetting;

    static UpdateService Configured(
        const platform::SettingsStore& store = platform::SettingsStore());
    // The base URL as the requests use it: an https address with a host, given a final
    // "/" when it lacks one; empty for anything else.
    static std::string NormalisedBaseUrl(std::string_view text);
};

}  // namespace update
