// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The language the desktop's locale asks for, as the identifier the language list uses:
// the first of LC_ALL, LC_MESSAGES and LANG that is set decides. zh_CN and zh_SG are
// Simplified Chinese, zh_TW, zh_HK and zh_MO Traditional Chinese, everything else English.
#include <string_view>

namespace app {

class LocaleLanguage {
public:
    static constexpr int kSimplifiedChinese = 2052;
    static constexpr int kTraditionalChinese = 1028;
    static constexpr int kEnglish = 1033;

    // The identifier for a locale name such as "zh_TW.UTF-8" or "en_US".
    static int IdForLocale(std::string_view locale);
    // The identifier for the locale of the environment.
    static int IdFromEnvironment();
};

}  // namespace app
