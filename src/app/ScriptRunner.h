// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The headless automation: JSON-line commands from a script drive the running program,
// one JSON answer line per command (docs/automation.md describes the commands).
//
// Threads: the UI thread runs the host's message loop the whole time, so timers, worker
// posts and device arrivals keep flowing between commands. A reader thread reads one
// line, posts it to the loop as a task and waits until that command has been answered
// before it reads the next, so commands run strictly in order and each sees the effects
// of the ones before it. A command that opens a modal window (whose nested loop waits
// for the user) is answered as soon as that window waits, so the next commands can act
// on it; they run inside its loop.
#include <json/json.h>

#include <cstddef>
#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "app/AutomationHost.h"
#include "app/ControlAutomation.h"
#include "app/DeviceAutomation.h"
#include "app/SimAutomation.h"
#include "ui/qt/ScriptedFileDialog.h"

namespace app {

class ScriptRunner {
public:
    static constexpr std::size_t kMaxLineBytes = 1 << 20;
    static constexpr long long kMaxWaitMs = 3'600'000;
    // How often a running command checks whether it left the user a modal window.
    static constexpr unsigned kModalCheckMs = 20;

    ScriptRunner(AutomationHost& host, std::istream& in, std::ostream& out);
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // On the UI thread: runs the host's loop until the script quits or ends (then the
    // runner calls host.Quit()) or the program ends on its own. Returns the exit code:
    // the "code" of "quit", else 0.
    int Run();

private:
    struct Channel;
    struct Pending;

    static void ReadScript(std::shared_ptr<Channel> channel, std::istream& in,
                           ui::CMessageLoop& loop);
    void Execute(const std::string& line, bool tooLong);
    Json::Value Evaluate(const std::string& line, bool tooLong, Pending& pending);
    Json::Value Dispatch(const Json::Value& command, Pending& pending);
    Json::Value Wait(const Json::Value& command, Pending& pending);
    Json::Value Dialog(const Json::Value& command);
    Json::Value Messages();
    void WatchForModal();
    void Answer(Pending& pending, const Json::Value& answer);
    void EndOfScript();

    AutomationHost& m_host;
    std::istream& m_in;
    std::ostream& m_out;
    ControlAutomation m_controls;
    SimAutomation m_sim;
    DeviceAutomation m_devices;
    ui::qt::ScriptedFileDialog m_fileDialog;
    std::size_t m_dialogsReported = 0;
    ui::qt::IFileDialog* m_previousFileDialog = nullptr;
    bool m_installedMessageBoxes = false;
    std::unique_ptr<Json::CharReader> m_reader;
    std::unique_ptr<Json::StreamWriter> m_writer;
    std::shared_ptr<Channel> m_channel;
    std::shared_ptr<Pending> m_current;  // the command running now (UI thread)
    int m_exitCode = 0;
};

}  // namespace app
