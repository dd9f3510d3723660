// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A program's chance to supply the text of a key the current language lacks.
#include <string>
#include <string_view>

namespace ui {

class IQueryControlText {
public:
    virtual ~IQueryControlText() = default;
    // The text for `key`, or empty for none.
    virtual std::string QueryControlText(std::string_view key, std::string_view type) = 0;
};

}  // namespace ui
