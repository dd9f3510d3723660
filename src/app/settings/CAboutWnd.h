// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The about window: the program's name and version. It runs modally over the main window;
// the system Close command closes only this window.
#include <string>

#include "ui/WindowImplBase.h"

namespace app {

class CAboutWnd : public ui::WindowImplBase {
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 572;

    explicit CAboutWnd(std::string versionText) : versionText_(std::move(versionText)) {}

    std::string GetWindowClassName() const override { return "AboutWnd"; }
    // "software_ver_label": the translated "software_rev_text" and the version.
    void ShowVersion();

protected:
    std::string GetSkinFile() override { return "AboutWnd.xml"; }
    void OnClick(ui::TNotifyUI& msg) override;
    std::intptr_t HandleCustomMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                                      bool& handled) override;
    std::intptr_t OnSysCommand(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                               bool& handled) override;

private:
    std::string versionText_;
};

}  // namespace app
