// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShippedFiles.h"

#include <json/json.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "data/JsonDataFile.h"
#include "ui/CButtonUI.h"
#include "ui/CContainerUI.h"
#include "ui/CDialogBuilder.h"
#include "ui/CHorizontalLayoutUI.h"
#include "ui/CVerticalLayoutUI.h"
#include "ui/CListContainerElementUI.h"
#include "ui/CMenuWnd.h"
#include "ui/CResourceManager.h"
#include "ui/controls/ProgramControls.h"

namespace shipped {

namespace fs = std::filesystem;

fs::path SourceDir() {
    const char* dir = std::getenv("TX512_SOURCE_DIR");
    return dir != nullptr ? fs::path(dir) : fs::path(TX512_SOURCE_DIR);
}

fs::path SkinDir() { return SourceDir() / "resources" / "skin"; }
fs::path DefaultDataDir() { return SourceDir() / "resources" / "DefaultData"; }

std::vector<std::string> LanguageFiles() {
    std::vector<std::string> files;
    const Json::Value config = JsonDataFile().ReadJsonFile(DefaultDataDir() / "Language.config");
    for (const Json::Value& entry : config["Language"]) files.push_back(entry["Language_file"].asString());
    return files;
}

std::vector<std::string> LayoutFiles() {
    const std::vector<std::string> languages = LanguageFiles();
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(SkinDir())) {
        if (!entry.is_regular_file() || entry.path().extension() != ".xml") continue;
        std::string relative = fs::relative(entry.path(), SkinDir()).generic_string();
        if (relative == "res.xml") continue;
        if (std::find(languages.begin(), languages.end(), relative) != languages.end()) continue;
        files.push_back(relative);
    }
    std::sort(files.begin(), files.end());
    return files;
}

namespace {

// The main window's sub-layout elements and the files they build.
const std::map<std::string, std::string>& SubLayouts() {
    static const std::map<std::string, std::string> layouts = {
        {"DeviceProfileUI", "XML\\CustomControlXML\\DeviceProfile.xml"},
        {"LightSetControlUI", "XML\\CustomControlXML\\LightControl.xml"},
        {"Voice6533SetControlUI", "XML\\CustomControlXML\\Voice6533Control.xml"},
        {"MagicSetControlUI", "XML\\CustomControlXML\\MagicControl.xml"},
        {"KeySetControlUI", "XML\\CustomControlXML\\KeySetControl.xml"},
        {"MacroSetControlUI", "XML\\CustomControlXML\\MacroControl.xml"},
        {"ShootKeySetControlUI", "XML\\CustomControlXML\\ShootControl.xml"},
        {"VirtualSetControlUI", "XML\\CustomControlXML\\VirtualSet.xml"},
    };
    return layouts;
}

// The program's own classes that are horizontal layouts: the device objects, the panels,
// the device tab and the power indicator.
const std::set<std::string>& ProgramLayouts() {
    static const std::set<std::string> names = {
        "LumitrekUSBDevice", "LumitrekKeyboardDevice", "LumitrekMousePadDevice",
        "LumitrekMouseDevice", "LumitrekZO6533Device", "DeviceProfile", "LightControl",
        "KeySetControl", "MacroControl", "ShootControl", "MagicControl", "Voice6533Control",
        "DeviceOption", "MpDevicePower"};
    return names;
}

}  // namespace

ui::CControlUI* ProgramElements::CreateControl(std::string_view name) {
    const std::string element(name);
    auto sub = SubLayouts().find(element);
    if (sub != SubLayouts().end()) {
        ui::CDialogBuilder builder;
        ui::CControlUI* root = builder.Create(sub->second, this, manager_);
        if (root == nullptr) unknown_.push_back(element + " (" + builder.GetLastError() + ")");
        return root;
    }
    if (ProgramLayouts().count(element) != 0) return new ui::CHorizontalLayoutUI();
    if (element == "VirtualSetControl") return new ui::CVerticalLayoutUI();  // the surround page
    if (element == "RedioMacroButton") return new ui::CButtonUI();
    if (element == "ComboEditContainerElement") return new ui::CListContainerElementUI();
    if (element == "Menu") return new ui::CMenuUI();
    if (element == "MenuElement") return new ui::CMenuElementUI();
    unknown_.push_back(element);
    return nullptr;
}

void PrepareSkin() {
    ui::CResourceManager& resources = ui::CResourceManager::GetInstance();
    if (resources.GetResourcePath() == SkinDir()) return;
    resources.Release();
    resources.SetResourcePath(SkinDir());
    resources.LoadResource("res.xml");
    ui::RegisterProgramControls();
}

ui::CControlUI* BuildLayout(const std::string& file, ui::CPaintManagerUI& manager,
                            std::vector<std::string>& unknown, bool withMainStyles) {
    PrepareSkin();
    ProgramElements elements(&manager);
    if (withMainStyles) {
        // The main layout's fonts, defaults and styles, as a page built into that window
        // finds them.
        ui::CDialogBuilder main;
        delete main.Create("XML_MAIN", &elements, &manager);
    }
    ui::CDialogBuilder builder;
    ui::CControlUI* root = builder.Create(file, &elements, &manager);
    unknown = elements.Unknown();
    if (root == nullptr) unknown.push_back("no root: " + builder.GetLastError());
    return root;
}

std::vector<ui::CControlUI*> AllControls(ui::CControlUI* root) {
    std::vector<ui::CControlUI*> all;
    if (root == nullptr) return all;
    root->FindControl(
        [&all](ui::CControlUI* control) {
            all.push_back(control);
            return false;
        },
        ui::Point{}, ui::UIFIND_ALL | ui::UIFIND_ME_FIRST);
    return all;
}

}  // namespace shipped
