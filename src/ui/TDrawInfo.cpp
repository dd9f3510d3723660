// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TDrawInfo.h"

#include "ui/AttributeText.h"

namespace ui {

TDrawInfo TDrawInfo::Parse(std::string_view drawString) {
    TDrawInfo info;
    info.sDrawString = std::string(drawString);
    if (drawString.find('=') == std::string_view::npos) {
        // A bare file name.
        size_t b = drawString.find_first_not_of(" \t");
        size_t e = drawString.find_last_not_of(" \t");
        if (b != std::string_view::npos) info.sImageName = std::string(drawString.substr(b, e - b + 1));
        return info;
    }
    attr::ForEachAttribute(drawString, [&](std::string_view name, std::string_view value) {
        if (name == "file" || name == "res") info.sImageName = std::string(value);
        else if (name == "source") info.rcSource = attr::ParseRect(value);
        else if (name == "dest") info.rcDest = attr::ParseRect(value);
        else if (name == "corner") info.rcCorner = attr::ParseRect(value);
        else if (name == "fade") {
            int fade = attr::ParseInt(value);
            info.uFade = static_cast<std::uint8_t>(fade < 0 ? 0 : (fade > 255 ? 255 : fade));
        } else if (name == "mask") info.dwMask = attr::ParseColor(value);
        else if (name == "xtiled") info.bXTiled = attr::ParseBool(value);
        else if (name == "ytiled") info.bYTiled = attr::ParseBool(value);
        else if (name == "hole") info.bHole = attr::ParseBool(value);
    });
    return info;
}

}  // namespace ui
