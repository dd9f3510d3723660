// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the shipped files are, and building their layouts the way the program does:
// the program's own elements come from its creation callback (Part names of the shell),
// sub-layouts are built in place, and anything else is an unknown element.
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ui/CControlUI.h"
#include "ui/CPaintManagerUI.h"
#include "ui/IDialogBuilderCallback.h"

namespace shipped {

std::filesystem::path SourceDir();
std::filesystem::path SkinDir();
std::filesystem::path DefaultDataDir();

// Every layout file of the skin folder (relative, '/'-separated): all XML files except
// the resource index and the language files.
std::vector<std::string> LayoutFiles();
// The language files that "Language.config" names, in its order.
std::vector<std::string> LanguageFiles();

// Stands in for the main window's creation callback: the program's device objects and
// panels (which live in higher layers) become containers of the base class they derive
// from, the sub-layout elements build their layout file, and menus get their items.
class ProgramElements : public ui::IDialogBuilderCallback {
public:
    explicit ProgramElements(ui::CPaintManagerUI* manager) : manager_(manager) {}
    ui::CControlUI* CreateControl(std::string_view name) override;
    // Element names nobody could create, with the layout they were met in.
    const std::vector<std::string>& Unknown() const { return unknown_; }

private:
    ui::CPaintManagerUI* manager_;
    std::vector<std::string> unknown_;
};

// Prepares the skin library once: the skin folder, its index, the program's controls.
void PrepareSkin();

// Builds a layout file into `manager` (with the main window's styles when `withMainStyles`
// so that a page sees what it sees in the program). Returns the root (owned by the
// manager once attached) and fills `unknown` with elements left out.
ui::CControlUI* BuildLayout(const std::string& file, ui::CPaintManagerUI& manager,
                            std::vector<std::string>& unknown, bool withMainStyles = false);

// All controls of the tree, depth first.
std::vector<ui::CControlUI*> AllControls(ui::CControlUI* root);

}  // namespace shipped
