// SPDX-License-Identifier: GPL-3.0-or-later
#include "HeadlessProgram.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace journeys {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> BaseEnvironment(const Sandbox& sandbox) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry(*e);
        if (entry.rfind("XDG_", 0) == 0 || entry.rfind("TX512_TRACE", 0) == 0) continue;
        env.push_back(entry);
    }
    for (const auto& own : sandbox.Environment()) env.push_back(own);
    return env;
}

pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env, int stdinFd,
            int stdoutFd, const fs::path& stderrFile) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    if (stdinFd >= 0) dup2(stdinFd, STDIN_FILENO);
    if (stdoutFd >= 0) dup2(stdoutFd, STDOUT_FILENO);
    const int err = open(stderrFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (err >= 0) dup2(err, STDERR_FILENO);
    for (int fd = 3; fd < 256; ++fd) close(fd);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(TX512_PROGRAM_FILE));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    execve(TX512_PROGRAM_FILE, argv.data(), envp.data());
    _exit(127);
}

int WaitExit(pid_t pid, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    while (std::chrono::steady_clock::now() < end) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        // Real time on purpose: a process's exit is only seen by asking.
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

}  // namespace

Sandbox::Sandbox() {
    std::string pattern = (fs::temp_directory_path() / "tx512-journey-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    for (const char* sub : {"data", "config", "runtime"}) {
        fs::create_directories(root_ / sub);
        chmod((root_ / sub).c_str(), 0700);
    }
}

Sandbox::~Sandbox() {
    std::error_code ec;
    fs::remove_all(root_, ec);
}

std::vector<std::string> Sandbox::Environment() const {
    return {"XDG_DATA_HOME=" + (root_ / "data").string(),
            "XDG_CONFIG_HOME=" + (root_ / "config").string(),
            "XDG_RUNTIME_DIR=" + (root_ / "runtime").string()};
}

HeadlessProgram::HeadlessProgram(const Sandbox& sandbox, std::vector<std::string> extraArgs) {
    int toChild[2];
    int fromChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    static int serial = 0;
    stderrFile_ = sandbox.Root() / ("stderr-" + std::to_string(++serial) + ".txt");
    std::vector<std::string> args = {"--headless", "--script", "-"};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    pid_ = Spawn(args, BaseEnvironment(sandbox), toChild[0], fromChild[1], stderrFile_);
    close(toChild[0]);
    close(fromChild[1]);
    in_ = toChild[1];
    out_ = fromChild[0];
    signal(SIGPIPE, SIG_IGN);
}

HeadlessProgram::~HeadlessProgram() {
    // Also after WaitForExit, which leaves the script open.
    Finish(5000);
    if (out_ >= 0) close(out_);
}

std::string HeadlessProgram::ReadLine(int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto newline = buffered_.find('\n');
        if (newline != std::string::npos) {
            std::string line = buffered_.substr(0, newline);
            buffered_.erase(0, newline + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now()).count();
        if (left <= 0 || out_ < 0) return {};
        pollfd pfd{out_, POLLIN, 0};
        if (poll(&pfd, 1, static_cast<int>(left)) <= 0) continue;
        char chunk[4096];
        const ssize_t n = read(out_, chunk, sizeof chunk);
        if (n <= 0) return {};
        buffered_.append(chunk, static_cast<size_t>(n));
    }
}

Json::Value HeadlessProgram::Send(const std::string& line, int timeoutMs) {
    const std::string text = line + "\n";
    if (in_ < 0 || write(in_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        return Json::Value();
    }
    const std::string answer = ReadLine(timeoutMs);
    Json::Value value;
    Json::CharReaderBuilder builder;
    std::string errors;
    std::istringstream stream(answer);
    if (answer.empty() || !Json::parseFromStream(builder, stream, &value, &errors)) return Json::Value();
    return value;
}

Json::Value HeadlessProgram::Send(const Json::Value& command, int timeoutMs) {
    Json::StreamWriterBuilder writer;
    writer["indentation"] = "";
    return Send(Json::writeString(writer, command), timeoutMs);
}

int HeadlessProgram::Finish(int timeoutMs) {
    if (in_ >= 0) {
        close(in_);
        in_ = -1;
    }
    return WaitForExit(timeoutMs);
}

void HeadlessProgram::Signal(int number) {
    if (pid_ > 0) kill(pid_, number);
}

int HeadlessProgram::WaitForExit(int timeoutMs) {
    if (pid_ <= 0) return -1;
    const int code = WaitExit(pid_, timeoutMs);
    pid_ = -1;
    return code;
}

std::string HeadlessProgram::StandardError() const {
    std::ifstream file(stderrFile_);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

int RunProgram(const Sandbox& sandbox, const std::vector<std::string>& args, int timeoutMs) {
    const pid_t pid = Spawn(args, BaseEnvironment(sandbox), -1, -1, sandbox.Root() / "run-stderr.txt");
    return WaitExit(pid, timeoutMs);
}

namespace {

std::vector<std::string> Changed(std::vector<std::string> env, const std::vector<std::string>& changes) {
    for (const std::string& change : changes) {
        const std::string name = change.substr(0, change.find('='));
        std::erase_if(env, [&name](const std::string& entry) { return entry.rfind(name + "=", 0) == 0; });
        if (change.find('=') != std::string::npos) env.push_back(change);
    }
    return env;
}

}  // namespace

void StartedCommand::Signal(int number) {
    if (pid_ > 0) kill(pid_, number);
}

StartedCommand::StartedCommand(const Sandbox& sandbox, const std::vector<std::string>& args,
                               const std::vector<std::string>& environment) {
    static int serial = 0;
    const std::string n = std::to_string(++serial);
    outFile_ = sandbox.Root() / ("command-out-" + n + ".txt");
    errFile_ = sandbox.Root() / ("command-err-" + n + ".txt");
    const int out = open(outFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    pid_ = Spawn(args, Changed(BaseEnvironment(sandbox), environment), -1, out, errFile_);
    close(out);
}

std::string ReadTextFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

CommandRun StartedCommand::Wait(int timeoutMs) {
    CommandRun run;
    run.code = WaitExit(pid_, timeoutMs);
    run.out = ReadTextFile(outFile_);
    run.err = ReadTextFile(errFile_);
    return run;
}

CommandRun RunCommand(const Sandbox& sandbox, const std::vector<std::string>& args, int timeoutMs) {
    return StartedCommand(sandbox, args).Wait(timeoutMs);
}

std::vector<int> CommandsSent(const Json::Value& wireLog) {
    std::vector<int> commands;
    for (const Json::Value& entry : wireLog["log"]) {
        const std::string hex = entry["hex"].asString();
        if (entry["dir"].asString() == "out" && hex.size() >= 8 && hex.substr(0, 2) == "04")
            commands.push_back(std::stoi(hex.substr(6, 2), nullptr, 16));
    }
    return commands;
}

// ---- Script

Json::Value Script::Ask(const Json::Value& command) {
    const Json::Value answer = program_.Send(command);
    EXPECT_TRUE(answer["ok"].asBool()) << command.toStyledString() << answer.toStyledString();
    return answer;
}

Json::Value Script::Notify(const std::string& control, const std::string& type,
                           Json::Value extra) {
    extra["cmd"] = "notify";
    extra["control"] = control;
    extra["type"] = type;
    return Ask(extra);
}

Json::Value Script::Get(const std::string& control) {
    Json::Value command;
    command["cmd"] = "get";
    command["control"] = control;
    return Ask(command);
}

void Script::Wait(int ms) {
    Json::Value command;
    command["cmd"] = "wait";
    command["ms"] = ms;
    Ask(command);
}

Json::Value Script::Sim(const std::string& device, const std::string& op) {
    Json::Value command;
    command["cmd"] = "sim";
    command["device"] = device;
    command["op"] = op;
    return Ask(command);
}

void Script::Menu(const std::string& item) {
    Json::Value command;
    command["cmd"] = "menu";
    command["item"] = item;
    Ask(command);
}

void Script::Answer(int result) {
    Json::Value command;
    command["cmd"] = "answer";
    command["result"] = result;
    Ask(command);
}

void Script::Dialog(const std::string& path) {
    Json::Value command;
    command["cmd"] = "dialog";
    command["path"] = path;
    Ask(command);
}

std::vector<std::string> Script::Messages() {
    Json::Value command;
    command["cmd"] = "messages";
    const Json::Value answer = Ask(command);
    std::vector<std::string> keys;
    for (const Json::Value& box : answer["messages"]) keys.push_back(box["key"].asString());
    return keys;
}

Json::Value ReadJsonFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    Json::Value value;
    Json::CharReaderBuilder builder;
    std::string errors;
    if (!in || !Json::parseFromStream(builder, in, &value, &errors)) return Json::Value();
    return value;
}

}  // namespace journeys
