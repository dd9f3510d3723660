// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared helpers of the skin library tests: a headless driver, a window-less paint manager
// holding a layout built from XML text, a notification recorder and a scratch skin folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ui/CControlUI.h"
#include "ui/CDialogBuilder.h"
#include "ui/CHeadlessDriver.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CResourceManager.h"
#include "ui/TNotifyUI.h"

namespace ui {
// Readable rectangles and sizes in test failures.
inline void PrintTo(const Rect& r, std::ostream* os) {
    *os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}
inline void PrintTo(const Size& s, std::ostream* os) { *os << "{" << s.cx << "," << s.cy << "}"; }
}  // namespace ui

namespace uitest {

// Every notification a manager raises, in order.
class NotifyRecorder : public ui::INotifyUI {
public:
    struct Entry {
        std::string type;
        std::string sender;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };

    void Notify(ui::TNotifyUI& msg) override {
        entries.push_back(Entry{msg.sType, msg.pSender != nullptr ? msg.pSender->GetName() : "",
                                msg.wParam, msg.lParam});
    }
    // "type:sender" for each entry; "timer" and the first-layout "windowinit" left out
    // unless asked for.
    std::vector<std::string> Seen(bool all = false) const {
        std::vector<std::string> out;
        for (const Entry& e : entries) {
            if (!all && (e.type == "windowinit" || e.type == "timer")) continue;
            out.push_back(e.type + ":" + e.sender);
        }
        return out;
    }
    int Count(const std::string& type, const std::string& sender) const {
        int n = 0;
        for (const Entry& e : entries) n += (e.type == type && e.sender == sender) ? 1 : 0;
        return n;
    }
    void Clear() { entries.clear(); }

    std::vector<Entry> entries;
};

// A driver, a manager of the given client size and a layout built into it.
class LayoutFixture : public ::testing::Test {
protected:
    void Build(const std::string& xml, int width = 400, int height = 300) {
        ui::CDialogBuilder builder;
        ui::CControlUI* root = builder.Create(xml, nullptr, &pm);
        ASSERT_NE(root, nullptr) << builder.GetLastError();
        pm.AttachDialog(root);
        pm.AddNotifier(&recorder);
        pm.SetClientSize(ui::Size{width, height});
        pm.EnsureLayout();
        driver.RunPending();
        recorder.Clear();
    }
    template <class T>
    T* Find(const std::string& name) {
        ui::CControlUI* c = pm.FindControl(name);
        EXPECT_NE(c, nullptr) << name;
        return dynamic_cast<T*>(c);
    }

    ui::CHeadlessDriver driver;
    ui::CPaintManagerUI pm;
    NotifyRecorder recorder;
};

// A scratch folder made the skin folder for one test; the resource manager is reset after.
class ScratchSkin {
public:
    ScratchSkin() {
        dir_ = std::filesystem::temp_directory_path() /
               ("tx512-ui-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
        std::filesystem::create_directories(dir_);
        ui::CResourceManager::GetInstance().Release();
        ui::CResourceManager::GetInstance().SetResourcePath(dir_);
        ui::CDialogBuilder::ClearCache();
    }
    ~ScratchSkin() {
        ui::CResourceManager::GetInstance().Release();
        ui::CDialogBuilder::ClearCache();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    void Write(const std::string& relative, const std::string& content) const {
        std::filesystem::path file = dir_ / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
    }
    const std::filesystem::path& Dir() const { return dir_; }

private:
    static inline int counter_ = 0;
    std::filesystem::path dir_;
};

}  // namespace uitest
