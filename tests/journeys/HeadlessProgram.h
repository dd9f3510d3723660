// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The built program started headless (--headless --script -) in folders of its own:
// commands go to its standard input one line at a time and each answer line is read
// back as JSON. Every program gets fresh XDG data, config and runtime folders, so runs
// never share profiles, settings or the single-instance socket unless a test says so.
#include <json/json.h>
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace journeys {

// How long a journey lets the program take to connect a simulated device.
inline constexpr int kConnectionMs = 1500;
// The key position the journeys remap (factory assignment 20 00 04).
inline constexpr int kPosition64 = 64;

// The folders one or more program copies share: data, config and runtime.
class Sandbox {
public:
    Sandbox();
    ~Sandbox();  // removes the folders
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;
    const std::filesystem::path& Root() const { return root_; }
    std::vector<std::string> Environment() const;

private:
    std::filesystem::path root_;
};

class HeadlessProgram {
public:
    // `extraArgs` follow --headless --script -, e.g. {"--simulate=keyboard"}.
    HeadlessProgram(const Sandbox& sandbox, std::vector<std::string> extraArgs);
    ~HeadlessProgram();  // ends the program (killed when it does not end)
    HeadlessProgram(const HeadlessProgram&) = delete;
    HeadlessProgram& operator=(const HeadlessProgram&) = delete;

    // One command; its answer (a null value when none came within the limit).
    Json::Value Send(const Json::Value& command, int timeoutMs = 20000);
    Json::Value Send(const std::string& line, int timeoutMs = 20000);
    // Closes the script and waits for the exit code (-1: killed after the limit).
    int Finish(int timeoutMs = 20000);
    std::string StandardError() const;
    // Sends the program a signal (the session ending, say).
    void Signal(int number);
    // Waits for the program to end by itself (its script still open); -1 when it did not.
    int WaitForExit(int timeoutMs);

private:
    std::string ReadLine(int timeoutMs);

    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    std::string buffered_;
    std::filesystem::path stderrFile_;
};

// The commands journeys send most, each expected to succeed: a refused command fails the
// test (with the command and the answer) and the answer is still returned.
class Script {
public:
    explicit Script(HeadlessProgram& program) : program_(program) {}
    Json::Value Ask(const Json::Value& command);
    // `extra` carries the type's own members ("index", "text", ...).
    Json::Value Notify(const std::string& control, const std::string& type,
                       Json::Value extra = Json::Value(Json::objectValue));
    Json::Value Click(const std::string& control) { return Notify(control, "click"); }
    Json::Value Get(const std::string& control);
    void Wait(int ms);
    Json::Value Sim(const std::string& device, const std::string& op);
    void Menu(const std::string& item);
    // Queues the answer of the next message box / file dialog.
    void Answer(int result);
    void Dialog(const std::string& path);
    // The language keys of the message boxes shown since the last call.
    std::vector<std::string> Messages();

private:
    HeadlessProgram& program_;
};

// A file's bytes (empty when it is missing).
std::string ReadTextFile(const std::filesystem::path& path);

// A file the program keeps, read as JSON (null when it is missing or not JSON).
Json::Value ReadJsonFile(const std::filesystem::path& path);

// The command codes of the requests in a `sim wirelog` answer, in the order they went out.
std::vector<int> CommandsSent(const Json::Value& wireLog);

// Runs the program once with `args` in the sandbox's folders and waits for its exit code
// (-1 when it had to be killed).
int RunProgram(const Sandbox& sandbox, const std::vector<std::string>& args, int timeoutMs = 20000);

// The program run as a command from a shell ("profile apply B"), with what it printed.
struct CommandRun {
    int code = -1;
    std::string out;
    std::string err;
};
// Started now, waited for by Wait: to have two commands run at once.
class StartedCommand {
public:
    // `environment` changes the program's: "NAME=value" sets a variable, "NAME" removes it.
    StartedCommand(const Sandbox& sandbox, const std::vector<std::string>& args,
                   const std::vector<std::string>& environment = {});
    CommandRun Wait(int timeoutMs = 20000);
    // What it wrote on standard error so far.
    std::string ErrorSoFar() const { return ReadTextFile(errFile_); }
    void Signal(int number);

private:
    pid_t pid_ = -1;
    std::filesystem::path outFile_;
    std::filesystem::path errFile_;
};
CommandRun RunCommand(const Sandbox& sandbox, const std::vector<std::string>& args,
                      int timeoutMs = 20000);

}  // namespace journeys
