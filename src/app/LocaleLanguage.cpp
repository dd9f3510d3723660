// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LocaleLanguage.h"

#include <cstdlib>

#include "platform/TextCompare.h"

namespace app {

int LocaleLanguage::IdForLocale(std::string_view locale) {
    // "zh_TW.UTF-8@variant": the language and territory are what count.
    const std::string_view name = locale.substr(0, locale.find_first_of(".@"));
    for (const char* simplified : {"zh_CN", "zh_SG"}) {
        if (platform::EqualsNoCase(name, simplified)) return kSimplifiedChinese;
    }
    for (const char* traditional : {"zh_TW", "zh_HK", "zh_MO"}) {
        if (platform::EqualsNoCase(name, traditional)) return kTraditionalChinese;
    }
    return kEnglish;
}

int LocaleLanguage::IdFromEnvironment() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return IdForLocale(value);
    }
    return kEnglish;
}

}  // namespace app
