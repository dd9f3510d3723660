// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A panel built from its shipped layout in a window-less paint manager, with the program's
// control classes and the skin folder of the source tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "ui/CControlUI.h"
#include "ui/CDialogBuilder.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CResourceManager.h"
#include "ui/IDialogBuilderCallback.h"
#include "ui/controls/ProgramControls.h"

namespace panels::test {

inline void UseShippedSkin() {
    ui::CResourceManager& resources = ui::CResourceManager::GetInstance();
    const std::filesystem::path skin =
        std::filesystem::path(TX512_SOURCE_DIR) / "resources" / "skin";
    if (resources.GetResourcePath() == skin) return;
    resources.Release();
    resources.SetResourcePath(skin);
    resources.LoadResource("res.xml");
    ui::RegisterProgramControls();
}

// Builds "XML\CustomControlXML\<file>.xml" (`file` defaults to `element`), whose root
// element `element` is a `Panel`, into `manager`; the panel, or null (with a test failure)
// when the layout did not build.
template <class Panel>
Panel* BuildShippedPanel(ui::CPaintManagerUI& manager, std::string_view element,
                         std::string_view file = {}) {
    struct Elements : ui::IDialogBuilderCallback {
        std::string name;
        ui::CControlUI* CreateControl(std::string_view wanted) override {
            return wanted == name ? new Panel() : nullptr;
        }
    } elements;
    elements.name = std::string(element);
    UseShippedSkin();
    ui::CDialogBuilder builder;
    const std::string layout =
        "XML\\CustomControlXML\\" + std::string(file.empty() ? element : file) + ".xml";
    ui::CControlUI* root = builder.Create(layout, &elements, &manager);
    EXPECT_NE(root, nullptr) << builder.GetLastError();
    if (root == nullptr) return nullptr;
    manager.AttachDialog(root);
    return static_cast<Panel*>(root->GetInterface(element));
}

}  // namespace panels::test
