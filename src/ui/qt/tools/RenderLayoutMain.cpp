// SPDX-License-Identifier: GPL-3.0-or-later
// tx512-render-layout [--light RRGGBB] LAYOUT OUT.png [WIDTH HEIGHT [DPI]]
// Renders a skin layout to a PNG without a display. LAYOUT is a layout file (its folder
// holds the images) or an identifier of the program's skin; --light shows every key
// button's light overlay in that colour, as the lighting preview would.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/CControlUI.h"
#include "ui/CPaintManagerUI.h"
#include "ui/controls/CDeviceKeyButtonUI.h"
#include "ui/qt/QtScreenshot.h"

namespace {

bool Number(const char* text, int maximum, int& value) {
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < 0 || parsed > maximum) return false;
    value = static_cast<int>(parsed);
    return true;
}

bool Colour(const std::string& text, std::uint32_t& rgb) {
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return false;
    rgb = static_cast<std::uint32_t>(std::strtoul(text.c_str(), nullptr, 16));
    return true;
}

int Usage(const char* program) {
    std::fprintf(stderr, "usage: %s [--light RRGGBB] LAYOUT OUT.png [WIDTH HEIGHT [DPI]]\n",
                 program);
    return 64;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    ui::qt::ScreenshotRequest request;
    if (args.size() >= 2 && args[0] == "--light") {
        std::uint32_t rgb = 0;
        if (!Colour(args[1], rgb)) return Usage(argv[0]);
        // The device packs a key's colour as red | blue << 8 | green << 16.
        const std::uint32_t word = (rgb >> 16 & 0xFF) | (rgb & 0xFF) << 8 | (rgb >> 8 & 0xFF) << 16;
        request.prepare = [word](ui::CPaintManagerUI& manager) {
            for (ui::CControlUI* key : manager.FindSubControlsByClass(nullptr, "DeviceKeyButton")) {
                static_cast<ui::CDeviceKeyButtonUI*>(key->GetInterface("DeviceKeyButton"))
                    ->SetLightColour(word, 255, true);
            }
        };
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.size() != 2 && args.size() != 4 && args.size() != 5) return Usage(argv[0]);
    request.layout = args[0];
    request.pngPath = args[1];
    if (args.size() >= 4 && (!Number(args[2].c_str(), 20000, request.width) ||
                             !Number(args[3].c_str(), 20000, request.height)))
        return Usage(argv[0]);
    if (args.size() == 5 && !Number(args[4].c_str(), 10000, request.dpi)) return Usage(argv[0]);
    return ui::qt::RunScreenshot(request);
}
