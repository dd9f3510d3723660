// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's background: what the skin chooser changes (SkinChangedParam), how the
// main window takes it, and "main.ini" in the user's data folder, which records a chosen
// image ([SKINIMAGE] FLAGS=1 IMAGE=path; FLAGS=0 after a reset) so that it stays.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace ui {
class CPaintManagerUI;
}

namespace app {

struct SkinChangedParam {
    bool colour = false;  // true: `argb`; false: the image at `image`
    std::uint32_t argb = 0;
    std::string image;
};

class SkinRecord {
public:
    static constexpr const char* kDefaultImage = "common/background.png";

    static std::filesystem::path File();
    // FLAGS "1" (chosen) or "0" (reset) with the image; false when it could not be written.
    static bool Write(bool chosen, const std::string& image);
    // The recorded choice to restore at start: an image chosen from the list, else nothing.
    static std::optional<std::string> Restorable();
    // The main window's observer: its "root" shows the colour or the image.
    static void Apply(ui::CPaintManagerUI& mainManager, const SkinChangedParam& change);
    // Whether a text from the record may be given to the skin as an image: a plain path,
    // nothing that the image syntax would read as attributes.
    static bool IsPlainImagePath(const std::string& image);
};

}  // namespace app
