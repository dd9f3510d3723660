// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ScriptRunner.h"

#include <chrono>
#include <cstdint>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "app/AutomationJson.h"
#include "app/InputAutomation.h"
#include "app/MessageBox.h"
#include "app/ScriptLineReader.h"
#include "ui/CMessageLoop.h"
#include "ui/DpiValue.h"

namespace app {

namespace {

using automation::BoolMember;
using automation::BoolMemberOr;
using automation::Has;
using automation::IntMember;
using automation::IntMemberOr;
using automation::StringMember;

constexpr unsigned kModalTimer = 1;
// How long the end of a run waits for the reader to notice; a reader still blocked in a
// read of the script after that is left to finish on its own.
constexpr auto kReaderGrace = std::chrono::milliseconds(200);

bool IsBlankOrComment(const std::string& line) {
    const auto first = line.find_first_not_of(" \t\r");
    return first == std::string::npos || line[first] == '#';
}

// The reader's complaint on one line: "* Line 1, Column 9\n  Missing ':' ..." reads
// better as one.
std::string OneLine(const std::string& text) {
    std::string out;
    bool space = false;
    for (char c : text) {
        if (c == '\n' || c == '\r' || c == ' ' || c == '\t') {
            space = !out.empty();
            continue;
        }
        if (space) out += ' ';
        space = false;
        out += c;
    }
    return out;
}

const char* ModeName(ui::qt::FileDialogRequest::Mode mode) {
    return mode == ui::qt::FileDialogRequest::Mode::Save ? "save" : "open";
}

}  // namespace

// Shared by the reader thread and the UI thread; outlives the runner when the reader is
// left blocked in a read.
struct ScriptRunner::Channel {
    std::mutex mutex;
    std::condition_variable cv;
    bool answered = true;  // the command posted last has been answered
    bool stopped = false;  // read no more: the script quit or ended, or the loop ended
    bool done = false;     // the reader has finished
    // UI thread only: null once the run is over, so that tasks still queued do nothing.
    ScriptRunner* runner = nullptr;
};

// One command while it runs (UI thread).
struct ScriptRunner::Pending {
    int depth = 0;      // the loop level it started on
    int ownLevels = 0;  // nested levels it runs itself ("wait")
    bool answered = false;
    bool quit = false;
};

ScriptRunner::ScriptRunner(AutomationHost& host, std::istream& in, std::ostream& out)
    : m_host(host),
      m_in(in),
      m_out(out),
      m_controls(host),
      m_sim(host),
      m_devices(host),
      m_channel(std::make_shared<Channel>()) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    m_writer.reset(builder.newStreamWriter());
    Json::CharReaderBuilder readerSettings;
    Json::CharReaderBuilder::strictMode(&readerSettings.settings_);
    m_reader.reset(readerSettings.newCharReader());
}

ScriptRunner::~ScriptRunner() = default;

int ScriptRunner::Run() {
    ui::CMessageLoop& loop = m_host.Loop();
    m_channel->runner = this;
    m_previousFileDialog = ui::qt::IFileDialog::Current();
    ui::qt::IFileDialog::SetCurrent(&m_fileDialog);
    m_installedMessageBoxes = !MessageBoxScript::IsInstalled();
    if (m_installedMessageBoxes) MessageBoxScript::Install();

    std::thread reader(ReadScript, m_channel, std::ref(m_in), std::ref(loop));
    loop.Run();

    {
        std::lock_guard lock(m_channel->mutex);
        m_channel->stopped = true;
        m_channel->runner = nullptr;
    }
    m_channel->cv.notify_all();
    m_current.reset();
    loop.KillTimer(this, kModalTimer);
    bool readerDone = false;
    {
        std::unique_lock lock(m_channel->mutex);
        readerDone = m_channel->cv.wait_for(lock, kReaderGrace, [this] { return m_channel->done; });
    }
    // A reader still waiting for input (a terminal, a pipe kept open) cannot be woken; it
    // only touches the shared channel when the read returns.
    if (readerDone)
        reader.join();
    else
        reader.detach();

    ui::qt::IFileDialog::SetCurrent(m_previousFileDialog);
    if (m_installedMessageBoxes) MessageBoxScript::Uninstall();
    return m_exitCode;
}

void ScriptRunner::ReadScript(std::shared_ptr<Channel> channel, std::istream& in,
                              ui::CMessageLoop& loop) {
    ScriptLineReader reader(in, kMaxLineBytes);
    std::string line;
    for (;;) {
        const ScriptLineReader::Result result = reader.Next(line);
        std::unique_lock lock(channel->mutex);
        // Posting under the lock: once the UI thread has marked the run stopped, the loop
        // is never touched again from here.
        if (channel->stopped) break;
        if (result == ScriptLineReader::Result::End) {
            loop.PostTask([channel] {
                if (channel->runner != nullptr) channel->runner->EndOfScript();
            });
            break;
        }
        const bool tooLong = result == ScriptLineReader::Result::TooLong;
        if (!tooLong && IsBlankOrComment(line)) continue;
        channel->answered = false;
        const bool posted = loop.PostTask([channel, line = std::move(line), tooLong] {
            if (channel->runner != nullptr) channel->runner->Execute(line, tooLong);
        });
        if (!posted) break;
        channel->cv.wait(lock, [&] { return channel->answered || channel->stopped; });
        if (channel->stopped) break;
    }
    std::lock_guard lock(channel->mutex);
    channel->done = true;
    channel->cv.notify_all();
}

void ScriptRunner::EndOfScript() {
    {
        std::lock_guard lock(m_channel->mutex);
        m_channel->stopped = true;
    }
    m_channel->cv.notify_all();
    m_host.Quit();
}

void ScriptRunner::Execute(const std::string& line, bool tooLong) {
    ui::CMessageLoop& loop = m_host.Loop();
    auto pending = std::make_shared<Pending>();
    pending->depth = loop.ModalDepth();
    m_current = pending;
    loop.SetTimer(this, kModalTimer, kModalCheckMs, [this] { WatchForModal(); });

    const Json::Value answer = Evaluate(line, tooLong, *pending);

    if (m_current == pending) {
        m_current.reset();
        loop.KillTimer(this, kModalTimer);
    }
    if (!pending->answered) Answer(*pending, answer);
    if (pending->quit) m_host.Quit();
}

void ScriptRunner::WatchForModal() {
    std::shared_ptr<Pending> pending = m_current;
    if (pending == nullptr || pending->answered) return;
    // This timer fires only while a loop level has nothing else to do: a level deeper
    // than the command's own is a modal window waiting for its user.
    if (m_host.Loop().ModalDepth() <= pending->depth + pending->ownLevels) return;
    m_current.reset();
    m_host.Loop().KillTimer(this, kModalTimer);
    Json::Value answer = automation::Ok();
    answer["modal"] = true;
    Answer(*pending, answer);
}

void ScriptRunner::Answer(Pending& pending, const Json::Value& answer) {
    pending.answered = true;
    m_writer->write(answer, &m_out);
    m_out << '\n';
    m_out.flush();
    // Nobody reads the answers any more: the script has no reason to go on.
    const bool lostOutput = !m_out;
    {
        std::lock_guard lock(m_channel->mutex);
        m_channel->answered = true;
        if (pending.quit || lostOutput) m_channel->stopped = true;
    }
    m_channel->cv.notify_all();
    if (lostOutput && !pending.quit) {
        m_exitCode = 1;
        m_host.Quit();
    }
}

Json::Value ScriptRunner::Evaluate(const std::string& line, bool tooLong, Pending& pending) {
    if (tooLong)
        return automation::Error("line longer than " + std::to_string(kMaxLineBytes) + " bytes");
    Json::Value command;
    std::string errors;
    if (!m_reader->parse(line.data(), line.data() + line.size(), &command, &errors))
        return automation::Error("malformed JSON: " + OneLine(errors));
    if (!command.isObject()) return automation::Error("a command must be a JSON object");
    try {
        return Dispatch(command, pending);
    } catch (const CommandError& e) {
        return automation::Error(e.what());
    } catch (const std::exception& e) {
        // Whatever went wrong inside the program, the script hears of it and goes on.
        return automation::Error(std::string("internal error: ") + e.what());
    }
}

Json::Value ScriptRunner::Dispatch(const Json::Value& command, Pending& pending) {
    const std::string name = StringMember(command, "cmd");
    if (name == "notify") return m_controls.Notify(command);
    if (name == "get") return m_controls.Get(command);
    if (name == "sim") return m_sim.Run(command);
    if (name == "device") return m_devices.Run(command);
    if (name == "wait") return Wait(command, pending);
    if (name == "menu") {
        if (!m_host.ChooseMenuItem(StringMember(command, "item")))
            throw CommandError("the main window is gone");
        return automation::Ok();
    }
    if (name == "dialog") return Dialog(command);
    if (name == "dialogs") {
        Json::Value asked(Json::arrayValue);
        const auto& requests = m_fileDialog.Requests();
        for (std::size_t i = m_dialogsReported; i < requests.size(); ++i) {
            Json::Value request(Json::objectValue);
            request["mode"] = ModeName(requests[i].mode);
            request["title"] = requests[i].title;
            request["fileName"] = requests[i].fileName;
            request["filter"] = requests[i].filter;
            asked.append(std::move(request));
        }
        m_dialogsReported = requests.size();
        Json::Value answer = automation::Ok();
        answer["dialogs"] = std::move(asked);
        return answer;
    }
    if (name == "answer") {
        MessageBoxScript::QueueAnswer(static_cast<int>(IntMember(command, "result", 0, 1)),
                                      BoolMemberOr(command, "dont_show_again", false));
        return automation::Ok();
    }
    if (name == "tray") {
        if (!m_host.SetTrayShown(BoolMember(command, "shown")))
            throw CommandError("the main window is gone");
        return automation::Ok();
    }
    if (name == "background") {
        if (!m_host.SetBackgroundDuty(StringMember(command, "duty"), BoolMember(command, "active")))
            throw CommandError("the main window is gone");
        return automation::Ok();
    }
    if (name == "messages") return Messages();
    if (name == "window") {
        const auto state = m_host.MainWindowState();
        if (!state) throw CommandError("the main window is gone");
        Json::Value answer = automation::Ok();
        answer["visible"] = state->visible;
        answer["minimized"] = state->minimized;
        answer["topmost"] = state->topMost;
        answer["dpi"] = state->dpi;
        answer["title"] = std::string(state->title);
        answer["tray"] = state->trayShown;
        Json::Value rect(Json::arrayValue);
        for (int v : {state->rect.left, state->rect.top, state->rect.right, state->rect.bottom})
            rect.append(v);
        answer["rect"] = std::move(rect);
        return answer;
    }
    if (name == "key") {
        PressKey(m_host, command);
        return automation::Ok();
    }
    if (name == "mouse") {
        UseMouse(m_host, command);
        return automation::Ok();
    }
    if (name == "screenshot") {
        const std::string path = StringMember(command, "path");
        const auto dpi = IntMemberOr(command, "dpi", 96, 48, 192);
        if (path.empty()) throw CommandError("member path must not be empty");
        if (!ui::DpiValue::IsSupported(static_cast<int>(dpi)))
            throw CommandError("member dpi must be 48, 72, 96, 120, 144, 168 or 192");
        if (!m_host.SaveScreenshot(path, static_cast<int>(dpi)))
            throw CommandError("the window could not be drawn into " + path);
        return automation::Ok();
    }
    if (name == "send") {
        const auto msg = IntMember(command, "msg", 0, 0xFFFF);
        const auto wParam = IntMemberOr(command, "wparam", 0, 0, INT64_MAX);
        const auto lParam = IntMemberOr(command, "lparam", 0, INT64_MIN, INT64_MAX);
        const auto result = m_host.SendToMainWindow(static_cast<unsigned>(msg),
                                                    static_cast<std::uintptr_t>(wParam),
                                                    static_cast<std::intptr_t>(lParam));
        if (!result) throw CommandError("the main window is gone");
        Json::Value answer = automation::Ok();
        answer["result"] = static_cast<Json::Int64>(*result);
        return answer;
    }
    if (name == "quit") {
        m_exitCode = static_cast<int>(IntMemberOr(command, "code", 0, 0, 255));
        pending.quit = true;
        return automation::Ok();
    }
    throw CommandError("unknown command " + name);
}

Json::Value ScriptRunner::Wait(const Json::Value& command, Pending& pending) {
    const long long ms = IntMember(command, "ms", 0, kMaxWaitMs);
    ui::CMessageLoop& loop = m_host.Loop();
    // Everything queued before the wait runs within it, even for 0 ms.
    auto reached = std::make_shared<bool>(false);
    loop.PostTask([reached] { *reached = true; });
    // The loop's clock counts whole milliseconds, so "now" may already be most of one
    // millisecond old: one more makes sure at least `ms` really pass.
    const std::int64_t until = loop.Now() + ms + (ms > 0 ? 1 : 0);
    // The timer only wakes the level up when the time has come; its owner is unique to
    // this wait, so waits nested in modal windows keep their own.
    if (ms > 0) loop.SetTimer(reached.get(), 1, static_cast<unsigned>(ms + 1), [] {});
    ++pending.ownLevels;
    const bool finished = loop.RunModal([&] { return *reached && loop.Now() >= until; });
    --pending.ownLevels;
    loop.KillTimer(reached.get(), 1);
    Json::Value answer = automation::Ok();
    if (!finished) answer["quitting"] = true;
    return answer;
}

Json::Value ScriptRunner::Dialog(const Json::Value& command) {
    if (BoolMemberOr(command, "cancel", false)) {
        m_fileDialog.Cancel();
    } else if (Has(command, "path")) {
        m_fileDialog.Answer(StringMember(command, "path"));
    } else {
        throw CommandError("missing member path (or \"cancel\":true)");
    }
    Json::Value answer = automation::Ok();
    answer["pending"] = static_cast<Json::UInt64>(m_fileDialog.PendingAnswers());
    return answer;
}

Json::Value ScriptRunner::Messages() {
    Json::Value shown(Json::arrayValue);
    for (const MessageBoxScript::Shown& box : MessageBoxScript::TakeShown()) {
        Json::Value entry(Json::objectValue);
        entry["key"] = box.key;
        entry["text"] = box.text;
        entry["mode"] = box.mode;
        entry["answer"] = box.answer;
        if (box.offeredDontShow) entry["dont_show_again"] = box.dontShowAgain;
        shown.append(std::move(entry));
    }
    Json::Value answer = automation::Ok();
    answer["messages"] = std::move(shown);
    return answer;
}

}  // namespace app
