// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtTestSupport.h"

#include <QApplication>
#include <QtGlobal>

#include <cstdlib>

#include "ui/CControlUI.h"
#include "ui/CResourceManager.h"
#include "ui/controls/ProgramControls.h"

namespace qttest {

namespace {

// One Qt application for the whole test process, on the offscreen platform so that the
// tests run without a display.
class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
        static int argc = 1;
        static char name[] = "tx512_ui_qt_tests";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const g_qt =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace

std::string DataDir() { return TX512_QT_TEST_DATA; }
std::string SamplePath() { return DataDir() + "/sample.xml"; }

void UseSampleSkin() {
    ui::CResourceManager::GetInstance().SetResourcePath(DataDir());
    ui::RegisterProgramControls();
}

void SampleWindow::Notify(ui::TNotifyUI& msg) {
    Seen entry;
    entry.type = msg.sType;
    if (msg.pSender != nullptr) {
        entry.sender = msg.pSender->GetName();
        entry.text = msg.pSender->GetText();
    }
    entry.wParam = msg.wParam;
    seen.push_back(entry);
    ui::WindowImplBase::Notify(msg);
}

int SampleWindow::Count(const std::string& type, const std::string& sender) const {
    int n = 0;
    for (const Seen& s : seen) n += (s.type == type && s.sender == sender) ? 1 : 0;
    return n;
}

const Seen* SampleWindow::Last(const std::string& type) const {
    for (auto it = seen.rbegin(); it != seen.rend(); ++it) {
        if (it->type == type) return &*it;
    }
    return nullptr;
}

bool Near(QColor a, QColor b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance && std::abs(a.alpha() - b.alpha()) <= tolerance;
}

}  // namespace qttest
