// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and saving long macros in the macro editor: both run on the UI thread, so each
// figure is also the longest the window does not answer while it happens.
//
//   build-bench/bench/tx512_panels_bench
#include <benchmark/benchmark.h>
#include <json/json.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "data/JsonDataFile.h"
#include "panels/macro/CMacroControlUI.h"
#include "ui/CDialogBuilder.h"
#include "ui/CListUI.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CResourceManager.h"
#include "ui/IDialogBuilderCallback.h"
#include "ui/controls/ProgramControls.h"

namespace fs = std::filesystem;

namespace {

class PanelElements : public ui::IDialogBuilderCallback {
public:
    ui::CControlUI* CreateControl(std::string_view name) override {
        return name == "MacroControl" ? new panels::CMacroControlUI() : nullptr;
    }
};

// The macro page over a library of one macro with `events` events (keys down and up).
class Editor {
public:
    explicit Editor(int events) {
        ui::CResourceManager& resources = ui::CResourceManager::GetInstance();
        const fs::path skin = fs::path(TX512_SOURCE_DIR) / "resources" / "skin";
        if (resources.GetResourcePath() != skin) {
            resources.SetResourcePath(skin);
            resources.LoadResource("res.xml");
            ui::RegisterProgramControls();
        }
        char pattern[] = "/tmp/tx512-macrobench-XXXXXX";
        folder_ = ::mkdtemp(pattern);
        Json::Value list;
        list["MacroInfo"][0]["MacroName"] = "long";
        list["MacroInfo"][0]["Guid"] = "g";
        Json::Value macro;
        for (int i = 0; i < events; ++i) {
            Json::Value event;
            event["Type"] = 10;
            event["Button"] = 4 + (i / 2) % 26;
            event["Action"] = i % 2 == 0 ? "down" : "up";
            event["Delay"] = std::to_string(i % 100);
            macro["Events"].append(event);
        }
        macro["Version"] = 64;
        files_.WriteJsonFile(folder_ / "macro.config", list);
        files_.WriteJsonFile(folder_ / "g.mac", macro);

        PanelElements elements;
        ui::CDialogBuilder builder;
        ui::CControlUI* root =
            builder.Create("XML\\CustomControlXML\\MacroControl.xml", &elements, &manager_);
        manager_.AttachDialog(root);
        manager_.SetClientSize({1000, 640});
        panel_ = static_cast<panels::CMacroControlUI*>(root->GetInterface("MacroControl"));
        panel_->SetLibraryFolder(folder_);
        panel_->LoadMacroList();
        static_cast<ui::CListUI*>(manager_.FindControl("macro_name_list")->GetInterface("List"))
            ->SelectItem(0, false, false);
    }
    ~Editor() { fs::remove_all(folder_); }
    panels::CMacroControlUI& Panel() { return *panel_; }
    ui::CPaintManagerUI& Manager() { return manager_; }

private:
    fs::path folder_;
    JsonDataFile files_;
    ui::CPaintManagerUI manager_;
    panels::CMacroControlUI* panel_ = nullptr;
};

// Selecting the macro: the file read and one row built per event, then laid out.
void BM_LoadMacro(benchmark::State& state) {
    Editor editor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        editor.Panel().SelectMacro();
        editor.Manager().EnsureLayout();
    }
    state.counters["rows"] = editor.Panel().RowCount();
}
BENCHMARK(BM_LoadMacro)->Arg(4000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Saving it: every row's event and delay into the file.
void BM_SaveMacro(benchmark::State& state) {
    Editor editor(static_cast<int>(state.range(0)));
    editor.Panel().SelectMacro();
    for (auto _ : state) benchmark::DoNotOptimize(editor.Panel().SaveMacro());
}
BENCHMARK(BM_SaveMacro)->Arg(4000)->Unit(benchmark::kMillisecond);

// One insert in a long macro, with the save after it (what a menu item costs).
void BM_InsertIntoLongMacro(benchmark::State& state) {
    Editor editor(static_cast<int>(state.range(0)));
    editor.Panel().SelectMacro();
    for (auto _ : state) {
        editor.Panel().InsertMouseEvent(panels::CMacroControlUI::kLeftDown, 0);
        editor.Panel().SaveMacro();
        state.PauseTiming();
        editor.Panel().DeleteRow();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_InsertIntoLongMacro)->Arg(4000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
