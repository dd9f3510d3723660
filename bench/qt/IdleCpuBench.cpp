// SPDX-License-Identifier: GPL-3.0-or-later
// tx512_qt_idle_bench [SECONDS]
// Shows the sample skin window through the Qt renderer and measures the process's CPU
// time while nothing animates: once with the pump's fallback polling for worker posts
// (what the program runs today) and once without it (the goal once the library's loop
// reports such posts itself). Runs on Qt's offscreen platform unless one is chosen.
#include <sys/resource.h>

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/CMessageLoop.h"
#include "ui/CResourceManager.h"
#include "ui/WindowImplBase.h"
#include "ui/controls/ProgramControls.h"
#include "ui/qt/QtDesktop.h"
#include "ui/qt/QtEnvironment.h"
#include "ui/qt/QtMessagePump.h"
#include "ui/qt/QtSkinWidget.h"

namespace {

class SampleWindow : public ui::WindowImplBase {
public:
    std::string GetWindowClassName() const override { return "BenchWnd"; }

protected:
    std::string GetSkinFile() override { return std::string(TX512_QT_SAMPLE_DIR) + "/sample.xml"; }
};

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Result {
    double cpuPercent;
    long long wakeUps;
};

Result Measure(ui::CMessageLoop& loop, ui::qt::QtMessagePump& pump, int pollMs, int seconds) {
    pump.SetPollIntervalMs(pollMs);
    static int owner;
    // The measurement's own end is one timer; nothing else is due meanwhile.
    loop.SetTimer(&owner, 1, static_cast<unsigned>(seconds * 1000), [&loop] {
        loop.KillTimer(&owner, 1);
        loop.PostQuitMessage(0);
    });
    const long long wakesBefore = pump.WakeUps();
    const double cpuBefore = CpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    pump.Run();
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
    return Result{100.0 * (CpuSeconds() - cpuBefore) / wall, pump.WakeUps() - wakesBefore};
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    ui::qt::QtEnvironment::Prepare();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::CResourceManager::GetInstance().SetResourcePath(TX512_QT_SAMPLE_DIR);
    ui::RegisterProgramControls();
    ui::CMessageLoop loop;
    ui::qt::QtMessagePump pump(loop);
    ui::qt::QtDesktop desktop(pump);
    SampleWindow window;
    if (!window.Create(0, "idle", ui::UI_WNDSTYLE_VISIBLE, 0, 0, 0, 460, 260)) return 1;
    pump.Kick();
    ui::qt::QtSkinWidget* widget = desktop.WidgetOf(window.GetHWND());
    if (widget == nullptr || !widget->isVisible()) return 1;
    Measure(loop, pump, 0, 1);  // first paints and font loading are not idle time

    std::printf("platform: %s, window shown, %d s per run\n",
                QGuiApplication::platformName().toUtf8().constData(), seconds);
    const Result polling = Measure(loop, pump, 50, seconds);
    std::printf("with fallback polling (50 ms, backing off to 400 ms): CPU %.3f %%, %lld wake-ups\n",
                polling.cpuPercent, polling.wakeUps);
    const Result quiet = Measure(loop, pump, 0, seconds);
    std::printf("without polling (library reports worker posts): CPU %.3f %%, %lld wake-ups\n",
                quiet.cpuPercent, quiet.wakeUps);
    window.DestroyWindow();
    pump.Kick();
    return 0;
}
