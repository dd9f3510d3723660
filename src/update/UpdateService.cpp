#include "update/UpdateService.h"

#include <cstdlib>

#include "update/WebAddress.h"

namespace update {

namespace {

std::string Setting(const char* environment, const char* name,
                    const platform::SettingsStore& store) {
    if (const char* value = std::getenv(environment); value != nullptr && *value != '\0')
        return value;
    return store.Get(name).value_or(std::string());
}

}  // namespace

UpdateService UpdateService::Configured(const platform::SettingsStore& store) {
    UpdateService service;
    service.baseUrl = NormalisedBaseUrl(Setting("TX512_UPDATE_URL", "UpdateURL", store));
    service.caFile = Setting("TX512_UPDATE_CA_FILE", "UpdateCAFile", store);
    return service;
}

std::string UpdateService::NormalisedBaseUrl(std::string_view text) {
    if (!IsWebAddress(text) || text.find_first_of("?#") != std::string_view::npos) return {};
    std::string url(text);
    if (url.back() != '/') url.push_back('/');
    return url;
}

}  // namespace update
