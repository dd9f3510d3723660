#pragma once
// Where the update service is: configuration, never built in. The base URL comes from
// TX512_UPDATE_URL in the environment, else from the setting "UpdateURL" of the settings
// store; a file of certificate authorities to trust instead of the system's from
// TX512_UPDATE_CA_FILE, else "UpdateCAFile". Without a base URL the check asks nothing.
#include <string>
#include <string_view>

#include "platform/SettingsStore.h"

namespace update {

struct UpdateService {
    std::string baseUrl;  // "http(s)://host[:port]/path/", ending with "/"; empty: none
    std::string caFile;

    static UpdateService Configured(
        const platform::SettingsStore& store = platform::SettingsStore());
    // The base URL as the requests use it: an http(s) address with a host, given a final
    // "/" when it lacks one; empty for anything else.
    static std::string NormalisedBaseUrl(std::string_view text);
};

}  // namespace update
