// SPDX-License-Identifier: GPL-3.0-or-later
// Layout figures: building a 400-control layout from XML (parse, create, attributes,
// first layout) and a full relayout of it. Both must stay far below one frame (16 ms).
#include <benchmark/benchmark.h>

#include <string>

#include "ui/CDialogBuilder.h"
#include "ui/CHeadlessDriver.h"
#include "ui/CPaintManagerUI.h"

namespace {

// 20 rows of 20 buttons in a vertical layout, with a style and a few floats: 400 buttons
// plus their rows, the shape of the keyboard page's key grid.
std::string KeyGridLayout() {
    std::string xml = R"(<Window size="1000,640"><Style name="key_style" value="textcolor=&quot;#FFFFFFFF&quot; normalimage=&quot;key/n.png&quot; hotimage=&quot;key/h.png&quot;"/>
        <VerticalLayout name="root" inset="10,10,10,10" childpadding="2">)";
    for (int row = 0; row < 20; ++row) {
        xml += "<HorizontalLayout height=\"28\" childpadding=\"2\">";
        for (int col = 0; col < 20; ++col) {
            std::string n = std::to_string(row * 20 + col);
            if (col == 19) {
                xml += "<Button name=\"key_" + n + "\" float=\"true\" pos=\"" +
                       std::to_string(col * 48) + ",0," + std::to_string(col * 48 + 40) +
                       ",28\" style=\"key_style\" text=\"k" + n + "\"/>";
            } else {
                xml += "<Button name=\"key_" + n + "\" width=\"46\" style=\"key_style\" text=\"k" + n + "\"/>";
            }
        }
        xml += "</HorizontalLayout>";
    }
    xml += "</VerticalLayout></Window>";
    return xml;
}

void BM_BuildLayout400(benchmark::State& state) {
    ui::CHeadlessDriver driver;
    const std::string xml = KeyGridLayout();
    for (auto _ : state) {
        ui::CPaintManagerUI pm;
        ui::CDialogBuilder builder;
        ui::CControlUI* root = builder.Create(xml, nullptr, &pm);
        pm.AttachDialog(root);
        pm.SetClientSize(ui::Size{1000, 640});
        pm.EnsureLayout();
        benchmark::DoNotOptimize(pm.FindControl("key_399"));
    }
}
BENCHMARK(BM_BuildLayout400)->Unit(benchmark::kMicrosecond);

void BM_FullRelayout400(benchmark::State& state) {
    ui::CHeadlessDriver driver;
    ui::CPaintManagerUI pm;
    ui::CDialogBuilder builder;
    pm.AttachDialog(builder.Create(KeyGridLayout(), nullptr, &pm));
    pm.SetClientSize(ui::Size{1000, 640});
    pm.EnsureLayout();
    int dpi = 96;
    for (auto _ : state) {
        // Alternate the scale so that every rectangle really changes.
        dpi = dpi == 96 ? 144 : 96;
        pm.SetDPI(dpi);
        pm.EnsureLayout();
        benchmark::DoNotOptimize(pm.GetRoot());
    }
}
BENCHMARK(BM_FullRelayout400)->Unit(benchmark::kMicrosecond);

}  // namespace
