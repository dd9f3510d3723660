// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/UpdateService.h"

#include <cstdlib>
#include <utility>

#include "update/WebAddress.h"

namespace update {

namespace {

// The value and the name of where it came from: the variable first, then the setting.
std::pair<std::string, std::string> Setting(const char* environment, const char* name,
                                            const platform::SettingsStore& store) {
    if (const char* value = std::getenv(environment); value != nullptr && *value != '\0')
        return {value, environment};
    return {store.Get(name).value_or(std::string()), name};
}

}  // namespace

UpdateService UpdateService::Configured(const platform::SettingsStore& store) {
    UpdateService service;
    const auto [url, from] = Setting(kUrlVariable, kUrlSetting, store);
    service.baseUrl = NormalisedBaseUrl(url);
    if (service.baseUrl.empty() && !url.empty()) service.refusedSetting = from;
    service.caFile = Setting("TX512_UPDATE_CA_FILE", "UpdateCAFile", store).first;
    return service;
}

std::string UpdateService::NormalisedBaseUrl(std::string_view text) {
    if (!IsSecureWebAddress(text) || text.find_first_of("?#") != std::string_view::npos) return {};
    std::string url(text);
    if (url.back() != '/') url.push_back('/');
    return url;
}

}  // namespace update
