// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The skin chooser: a small pop-up below the title bar's "skinbtn" that offers background
// images and colours for the main window, a custom image from a file, and the default
// background. It closes when it loses the focus (a click anywhere else) and deletes
// itself when its window is gone; its owner keeps only the handle.
#include <functional>

#include "app/settings/SkinRecord.h"
#include "ui/WindowImplBase.h"

namespace app {

class CSkinFrame : public ui::WindowImplBase {
public:
    using Observer = std::function<void(const SkinChangedParam&)>;

    // Opens the chooser with its top-right corner at `anchorBottomRight` (screen
    // coordinates). Null when it could not be created.
    static CSkinFrame* Open(ui::Point anchorBottomRight, int dpi, Observer observer);

    std::string GetWindowClassName() const override { return "UISkinFrame"; }

protected:
    std::string GetSkinFile() override { return "skin.xml"; }
    void OnClick(ui::TNotifyUI& msg) override;
    std::intptr_t HandleCustomMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                                      bool& handled) override;
    void OnFinalMessage(ui::WindowHandle hWnd) override;

private:
    explicit CSkinFrame(Observer observer) : observer_(std::move(observer)) {}
    void ShowPage(int page);
    void ChooseCustomImage();

    Observer observer_;
};

}  // namespace app
