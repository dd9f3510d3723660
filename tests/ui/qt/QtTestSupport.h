// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared pieces of the renderer tests: the Qt application on the offscreen platform, the
// sample layout beside these tests, a window of the library that shows it and records
// its notifications, and a loop run by the Qt pump.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <memory>
#include <string>
#include <vector>

#include "ui/CMessageLoop.h"
#include "ui/TNotifyUI.h"
#include "ui/WindowImplBase.h"
#include "ui/qt/QtDesktop.h"
#include "ui/qt/QtMessagePump.h"

namespace qttest {

std::string DataDir();
std::string SamplePath();
// Points the skin folder at the test data and registers the program's controls.
void UseSampleSkin();

// A notification as it was raised, with the sender's text at that moment.
struct Seen {
    std::string type;
    std::string sender;
    std::string text;
    std::uintptr_t wParam = 0;
};

class SampleWindow : public ui::WindowImplBase {
public:
    std::string GetWindowClassName() const override { return "SampleWnd"; }
    void Notify(ui::TNotifyUI& msg) override;
    int Count(const std::string& type, const std::string& sender) const;
    const Seen* Last(const std::string& type) const;

    std::vector<Seen> seen;

protected:
    std::string GetSkinFile() override { return SamplePath(); }
};

// The library's loop on Qt's, with the desktop showing its windows.
struct PumpedLoop {
    ui::CMessageLoop loop;
    ui::qt::QtMessagePump pump{loop};
    ui::qt::QtDesktop desktop{pump};
};

// Colour distance that tolerates anti-aliasing and blending.
bool Near(QColor a, QColor b, int tolerance = 12);

}  // namespace qttest
