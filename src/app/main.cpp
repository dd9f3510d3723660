// SPDX-License-Identifier: GPL-3.0-or-later
#include <csignal>
#include <exception>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/DeviceCommands.h"
#include "app/ScriptRunner.h"
#include "app/cli/CommandMain.h"
#include "app/cli/CliRequest.h"
#include "platform/Paths.h"
#include "platform/TerminationSignals.h"
#include "ui/CMessageLoop.h"
#include "app/gui/GuiModes.h"

namespace {

int RunScreenshot(app::Application& application, const app::CommandLine& cmd) {
    app::AppScreenshotRequest request;
    request.pngPath = cmd.Value("screenshot");
    if (cmd.Has("dpi")) {
        try {
            request.dpi = std::stoi(cmd.Value("dpi"));
        } catch (const std::exception&) {
            std::cerr << "telix-tx512: --dpi needs a number\n";
            return 2;
        }
    }
    request.languageFile = cmd.Value("language");
    return app::RunAppScreenshot(application, request);
}

int RunHeadless(app::Application& application, const std::string& script) {
    std::ifstream file;
    std::istream* in = &std::cin;
    if (script != "-") {
        file.open(script);
        if (!file) {
            std::cerr << "telix-tx512: cannot read the script '" << script << "'\n";
            return 1;
        }
        in = &file;
    }
    // A reader that went away must not kill the program before it can notice.
    std::signal(SIGPIPE, SIG_IGN);
    ui::CMessageLoop loop;
    application.PrepareResources();
    if (application.CreateMainWindow() == nullptr) {
        std::cerr << "telix-tx512: the main window could not be created\n";
        return 1;
    }
    app::AllowHeadlessScreenshots(application);
    app::ScriptRunner runner(application, *in, std::cout);
    const int code = runner.Run();
    application.Shutdown();
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (app::cli::IsCommand(args)) return app::cli::RunCommandLine(args, std::cout, std::cerr);
    std::string error;
    auto cmd = app::ParseCommandLine(args, error);
    if (!cmd) {
        std::cerr << "telix-tx512: " << error << "\nTry 'telix-tx512 --help'.\n";
        return 2;
    }
    if (cmd->Has("help")) {
        std::cout << app::HelpText();
        return 0;
    }
    if (cmd->Has("man")) {
        std::cout << app::ManualPage();
        return 0;
    }
    if (cmd->Has("version")) {
        std::cout << app::VersionText();
        return 0;
    }
    std::optional<app::SimulationChoice> simulate;
    if (cmd->Has("simulate")) {
        simulate = app::SimulationChoice::Parse(cmd->Value("simulate"));
        if (!simulate) {
            std::cerr << "telix-tx512: --simulate takes =keyboard, =pad, =mouse, =mouse6, =headset, "
                         "=all, =none or =capture:FILE\n";
            return 2;
        }
    }
    if (cmd->Has("capture") && !cmd->Has("diagnose")) {
        std::cerr << "telix-tx512: --capture goes with --diagnose\n";
        return 2;
    }
    if (cmd->Has("list-devices")) {
        if (simulate && !simulate->Any()) return 0;  // nothing plugged in, nothing to list
        return app::RunListDevices(simulate, std::cout);
    }
    if (cmd->Has("diagnose")) {
        if (cmd->Has("capture"))
            return app::RunCapture(simulate, cmd->Value("capture"), std::cout, std::cerr);
        return app::RunDiagnose(std::cout, app::ProbeQtPlatform());
    }
    if (cmd->Has("headless") != cmd->Has("script")) {
        std::cerr << "telix-tx512: --headless and --script go together\n";
        return 2;
    }

    app::Application application;
    if (cmd->Has("screenshot")) {
        // A picture needs no lock: it may be taken while the program runs.
        if (simulate && !application.Simulate(*simulate, std::cerr)) return 2;
        return RunScreenshot(application, *cmd);
    }
    // Before any thread exists, so that every thread leaves these signals to it.
    platform::TerminationSignals signals(
        [&application](int number) { application.RequestExit(number); });
    // A script would run in the background next to the user's window: it is refused, and
    // the window is left as it is.
    const bool headless = cmd->Has("headless");
    using Outcome = platform::SingleInstance::Outcome;
    switch (application.AcquireSingleInstance(headless ? platform::SingleInstance::Contact::Leave
                                                       : platform::SingleInstance::Contact::Wake)) {
        case Outcome::Woken:
            std::cerr << "telix-tx512: the program is already running; its window was brought to "
                         "the front\n";
            return 0;
        case Outcome::Unanswered:
            std::cerr << "telix-tx512: another copy of the program holds its lock ("
                      << application.Instance().LockPath().string()
                      << ") but does not answer; quit it from its tray menu or end its process, "
                         "then start the program again\n";
            return 1;
        case Outcome::Running:
            std::cerr << "telix-tx512: the program is already running; quit it before running a "
                         "script with --headless (commands such as 'telix-tx512 status' reach the "
                         "running copy)\n";
            return 2;
        default:
            break;
    }
    if (simulate && !application.Simulate(*simulate, std::cerr)) return 2;
    if (cmd->Has("hidden")) application.StartHidden();
    if (headless) return RunHeadless(application, cmd->Value("script"));
    return app::RunDesktop(application, argc, argv);
}
