// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/CommandMain.h"

#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <ostream>

#include "app/Application.h"
#include "app/MessageBox.h"
#include "app/cli/CliRequest.h"
#include "platform/LocalClient.h"
#include "platform/Paths.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationSignals.h"
#include "ui/CMessageLoop.h"

namespace app::cli {

namespace {

constexpr int kConnectMs = 1000;
// The running copy answers when the device has taken the change; its own limits end
// every command well before this.
constexpr int kAnswerMs = 45000;
// Without a running copy the devices are opened first: the scan, the connection and the
// reads that follow it.
constexpr int kOwnReadyMs = 5000;

enum class Remote { Answered, NoCopy, Failed };

Remote AskRunningCopy(const CliRequest& request, std::ostream& out, std::ostream& err, int& code) {
    platform::LocalClient client;
    const auto socket = platform::SingleInstance::SocketPathFor(platform::RuntimeDir());
    if (!client.Connect(socket, kConnectMs)) return Remote::NoCopy;
    std::error_code error;
    const std::string here = std::filesystem::current_path(error).string();
    const auto message = platform::LocalMessage::Command(request.Words(here), here);
    const auto answer = client.Request(message, kAnswerMs);
    if (answer && answer->Is(platform::LocalMessage::kRefused)) {
        err << "telix-tx512: the running copy of the program refused the command: " << answer->reason()
            << "; try again when fewer programs are connected to it\n";
        code = kRefused;
        return Remote::Failed;
    }
    if (!answer || !answer->Is(platform::LocalMessage::kCommandResult)) {
        err << "telix-tx512: the running copy of the program did not answer the command; if it is "
               "an older version, quit it from its tray menu and run the command again\n";
        code = kRefused;
        return Remote::Failed;
    }
    out << answer->out();
    err << answer->err();
    code = answer->code();
    return Remote::Answered;
}

int RunHere(const CliRequest& request, const std::vector<std::string>& words, std::ostream& out,
            std::ostream& err, bool& retry) {
    Application application;
    // Ctrl-C or the session ending lets a write that runs finish: the device is never
    // left with half a profile.
    platform::TerminationSignals signals(
        [&application](int number) { application.RequestExit(number); });
    switch (application.AcquireSingleInstance()) {
        case platform::SingleInstance::Outcome::Woken:
        case platform::SingleInstance::Outcome::Unanswered:
            retry = true;  // a copy started meanwhile: it does the work
            return kRefused;
        default:
            break;
    }
    if (request.simulate) {
        const auto choice = SimulationChoice::Parse(*request.simulate);
        if (!choice) {
            err << "telix-tx512: --simulate takes =keyboard, =pad, =mouse, =mouse6, =headset, =all "
                   "or =none\n";
            return kBadUsage;
        }
        application.Simulate(*choice);
    }
    std::signal(SIGPIPE, SIG_IGN);
    ui::CMessageLoop loop;
    application.PrepareResources();
    // Nobody is there to answer a message box: each is closed at once and reported.
    MessageBoxScript::Install();
    application.StartHidden();
    CMainWnd* window = application.CreateMainWindow();
    if (window == nullptr || application.Commands() == nullptr) {
        MessageBoxScript::Uninstall();
        err << "telix-tx512: the program could not start\n";
        return kRefused;
    }
    CommandResult result;
    bool finished = false;
    CommandExecutor::Limits limits;
    limits.readyMs = kOwnReadyMs;
    std::error_code error;
    const std::string here = std::filesystem::current_path(error).string();
    application.Commands()->Run(words, here, limits, [&](const CommandResult& done) {
        result = done;
        finished = true;
        loop.PostQuitMessage(0);
    });
    if (!finished) loop.Run();
    for (const auto& shown : MessageBoxScript::TakeShown())
        if (!shown.text.empty())
            result.err += "telix-tx512: the program says: " + shown.text + "\n";
    MessageBoxScript::Uninstall();
    application.Shutdown();
    if (!finished) {
        result = {kRefused, "", "telix-tx512: the program was ended before the command was done\n"};
    }
    out << result.out;
    err << result.err;
    return result.code;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ParsedRequest parsed = ParseRequest(args);
    if (!parsed.request) {
        err << "telix-tx512: " << parsed.error << "\nTry 'telix-tx512 --help'.\n";
        return kBadUsage;
    }
    const CliRequest& request = *parsed.request;
    for (int attempt = 0; attempt < 2; ++attempt) {
        int code = kDone;
        if (AskRunningCopy(request, out, err, code) != Remote::NoCopy) return code;
        bool retry = false;
        code = RunHere(request, args, out, err, retry);
        if (!retry) return code;
    }
    err << "telix-tx512: the running copy of the program does not take commands\n";
    return kRefused;
}

}  // namespace app::cli
