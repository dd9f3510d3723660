// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings/SkinRecord.h"

#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "ui/CControlUI.h"
#include "ui/CPaintManagerUI.h"

namespace app {

namespace {

constexpr const char* kSection = "SKINIMAGE";
constexpr std::size_t kMaxPathBytes = 4096;

}  // namespace

std::filesystem::path SkinRecord::File() {
    return platform::UserRootDir() / "main.ini";
}

bool SkinRecord::Write(bool chosen, const std::string& image) {
    const platform::IniFile ini(File());
    return ini.Write(kSection, "FLAGS", chosen ? "1" : "0") && ini.Write(kSection, "IMAGE", image);
}

std::optional<std::string> SkinRecord::Restorable() {
    const platform::IniFile ini(File());
    if (ini.Read(kSection, "FLAGS").value_or("0") != "1") return std::nullopt;
    std::optional<std::string> image = ini.Read(kSection, "IMAGE");
    if (!image || !IsPlainImagePath(*image)) return std::nullopt;
    return image;
}

bool SkinRecord::IsPlainImagePath(const std::string& image) {
    if (image.empty() || image.size() > kMaxPathBytes) return false;
    for (const char c : image) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '\'' || c == '=') return false;
    }
    return true;
}

void SkinRecord::Apply(ui::CPaintManagerUI& mainManager, const SkinChangedParam& change) {
    ui::CControlUI* root = mainManager.FindControl("root");
    if (root == nullptr) return;
    if (change.colour) {
        root->SetBkColor(change.argb);
        root->SetBkImage("");
    } else {
        root->SetBkColor(0);
        root->SetBkImage(change.image);
    }
    root->Invalidate();
}

}  // namespace app
