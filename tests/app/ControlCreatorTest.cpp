// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/CDeviceOptionUI.h"
#include "app/CMpDevicePowerUI.h"
#include "app/ControlCreator.h"
#include "model/device/CLumitrekKeyboardDevice.h"
#include "model/device/CLumitrekMousePadDevice.h"
#include "platform/Trace.h"
#include "ui/CContainerUI.h"
#include "ui/CDialogBuilder.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CResourceManager.h"
#include "ui/controls/ProgramControls.h"

namespace {

namespace fs = std::filesystem;

fs::path SkinDir() {
    return fs::path(TX512_SOURCE_DIR) / "resources" / "skin";
}

// Points the skin library at `folder` for the test's lifetime, with the program's controls
// registered as at start-up; the previous folder comes back afterwards.
class SkinFolder {
public:
    explicit SkinFolder(const fs::path& folder)
        : previous_(ui::CResourceManager::GetInstance().GetResourcePath()) {
        Use(folder);
        ui::RegisterProgramControls();
    }
    ~SkinFolder() { Use(previous_); }

private:
    static void Use(const fs::path& folder) {
        ui::CResourceManager& resources = ui::CResourceManager::GetInstance();
        resources.Release();
        resources.SetResourcePath(folder);
        if (fs::exists(folder / "res.xml")) resources.LoadResource("res.xml");
    }
    fs::path previous_;
};

// Collects the builder's complaints about elements it had to leave out.
class LeftOutElements {
public:
    LeftOutElements() {
        platform::SetTraceSink([this](std::string_view text) {
            if (text.find("unknown element") != std::string_view::npos) lines.emplace_back(text);
        });
    }
    ~LeftOutElements() { platform::SetTraceSink({}); }
    std::vector<std::string> lines;
};

std::string ToFile(std::string_view skinPath) {
    std::string file(skinPath);
    for (char& c : file) c = c == '\\' ? '/' : c;
    return file;
}

}  // namespace

TEST(ControlCreator, EverySubLayoutOfTheSkinBuildsWithNothingLeftOut) {
    SkinFolder skin(SkinDir());
    ui::CPaintManagerUI manager;
    app::ControlCreator creator(manager);
    int built = 0;
    for (const app::ControlCreator::SubLayout& sub : app::ControlCreator::SubLayouts()) {
        LeftOutElements leftOut;
        std::unique_ptr<ui::CControlUI> root(creator.CreateControl(sub.element));
        if (fs::exists(SkinDir() / ToFile(sub.file))) {
            EXPECT_NE(root, nullptr) << sub.element;
            ++built;
        } else {
            EXPECT_EQ(root, nullptr) << sub.element << ": no layout file, no control";
        }
        EXPECT_EQ(leftOut.lines, std::vector<std::string>{}) << sub.element;
    }
    // Profile, lighting, key assignment, macro, recoil, voice, voice-changer and surround
    // panels ship with the skin.
    EXPECT_EQ(built, 8);
}

TEST(ControlCreator, DevicePagesTabsAndMainLayoutBuildIntoTheProgramsObjects) {
    SkinFolder skin(SkinDir());
    ui::CPaintManagerUI manager;
    app::ControlCreator creator(manager);
    struct Page {
        const char* file;
        const char* interface;
    };
    for (const Page& page : {Page{"XML/DeviceXml/keyboarddevice.xml", "LumitrekUSBDevice"},
                             Page{"XML/DeviceXml/mousepaddevice.xml", "LumitrekUSBDevice"},
                             Page{"XML/DeviceXml/mousedevice.xml", "LumitrekUSBDevice"},
                             Page{"XML/DeviceXml/zo6533device.xml", "LumitrekZO6533Device"},
                             Page{"XML/CustomControlXML/DeviceOption.xml", "DeviceOption"},
                             Page{"XML/CustomControlXML/MpDevicePower.xml", "MpDevicePower"},
                             Page{"XML_MAIN", "VerticalLayout"}}) {
        LeftOutElements leftOut;
        ui::CDialogBuilder builder;
        std::unique_ptr<ui::CControlUI> root(builder.Create(page.file, &creator, &manager));
        ASSERT_NE(root, nullptr) << page.file << ": " << builder.GetLastError();
        EXPECT_NE(root->GetInterface(page.interface), nullptr) << page.file;
        EXPECT_EQ(leftOut.lines, std::vector<std::string>{}) << page.file;

        const std::string file = page.file;
        if (file.ends_with("keyboarddevice.xml")) {
            EXPECT_NE(dynamic_cast<model::CLumitrekKeyboardDevice*>(root.get()), nullptr);
        }
        if (file.ends_with("mousepaddevice.xml")) {
            EXPECT_NE(dynamic_cast<model::CLumitrekMousePadDevice*>(root.get()), nullptr);
        }
        if (file.ends_with("DeviceOption.xml")) {
            EXPECT_NE(dynamic_cast<app::CDeviceOptionUI*>(root.get()), nullptr);
        }
        if (file.ends_with("MpDevicePower.xml")) {
            EXPECT_NE(dynamic_cast<app::CMpDevicePowerUI*>(root.get()), nullptr);
        }
    }
}

TEST(ControlCreator, ElementNamesIgnoreCaseAndUnlistedOnesGiveNothing) {
    ui::CPaintManagerUI manager;
    app::ControlCreator creator(manager);
    std::unique_ptr<ui::CControlUI> panel(creator.CreateControl("keysetcontrol"));
    ASSERT_NE(panel, nullptr);
    EXPECT_NE(panel->GetInterface("HorizontalLayout"), nullptr);
    std::unique_ptr<ui::CControlUI> macros(creator.CreateControl("MACROCONTROL"));
    ASSERT_NE(macros, nullptr);
    EXPECT_NE(macros->GetInterface("MacroControl"), nullptr);
    // Menus are built by the menu window's own callback, never through the main window's.
    EXPECT_EQ(creator.CreateControl("Menu"), nullptr);
    EXPECT_EQ(creator.CreateControl("MenuElement"), nullptr);
    EXPECT_EQ(creator.CreateControl("NoSuchElement"), nullptr);
    EXPECT_EQ(creator.CreateControl(""), nullptr);
}

TEST(ControlCreator, ASubLayoutThatContainsItselfStopsInsteadOfRecursingForever) {
    const fs::path folder =
        fs::temp_directory_path() / ("tx512_creator_" + std::to_string(::getpid()));
    fs::create_directories(folder / "XML" / "CustomControlXML");
    std::ofstream(folder / "XML" / "CustomControlXML" / "DeviceProfile.xml")
        << "<VerticalLayout name=\"level\"><DeviceProfileUI/></VerticalLayout>";
    {
        SkinFolder skin(folder);
        ui::CPaintManagerUI manager;
        app::ControlCreator creator(manager);
        std::unique_ptr<ui::CControlUI> root(creator.CreateControl("DeviceProfileUI"));
        ASSERT_NE(root, nullptr);
        int depth = 0;
        for (ui::CControlUI* level = root.get(); level != nullptr; ++depth) {
            auto* container = static_cast<ui::CContainerUI*>(level->GetInterface("Container"));
            level = container != nullptr ? container->GetItemAt(0) : nullptr;
        }
        EXPECT_GT(depth, 1);
        EXPECT_LE(depth, 16);
    }
    fs::remove_all(folder);
}
