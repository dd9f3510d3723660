// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One message on the local socket of the running copy (see docs/ipc.md).
//
// Wire format: one JSON object per line, UTF-8, ended by "\n". A line, "\n" included,
// is at most kMaxLineBytes long. Every object has a non-empty "type" string; the other
// members depend on the type (members not listed are ignored):
//
//   {"type":"activate"}                               a second copy wakes the first
//   {"type":"update_relay","wparam":N,"lparam":N}     handed on to the settings window
//   {"type":"light_state","wparam":1,"lparam":0|1}    the program released (0) or took (1)
//                                                     the lighting; pushed to subscribers
//   {"type":"light_control","wparam":1,"lparam":0|1}  another process releases or takes it
//   {"type":"worktool_query"}                         answered with "worktool_table"
//   {"type":"worktool_table","words":[W,...]}         the device table block: at most 256
//                                                     unsigned 32-bit words
//   {"type":"subscribe"}                              keep this connection for "light_state"
//   {"type":"command","version":V,"args":[S,...],"cwd":S}
//                                                     a command line for the program to run
//                                                     (at most kMaxArgs strings) and the
//                                                     sender's working folder ("cwd" may be
//                                                     left out); answered, once it is done,
//                                                     with "command_result"
//   {"type":"command_result","version":V,"code":C,"out":S,"err":S}
//                                                     the command's exit code and what it
//                                                     printed on standard output and error
//   {"type":"refused","reason":S}                     the program will not serve this
//                                                     connection and closes it
//
// N is an integer in the signed 64-bit range, carried as given (the receiver decides
// what is valid, e.g. light_control with wparam other than 1 is ignored there).
// A line that is not one of these objects is dropped; it never ends the connection.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class LocalMessage {
public:
    static constexpr std::size_t kMaxLineBytes = 64 * 1024;
    static constexpr std::size_t kMaxWords = 256;
    static constexpr std::size_t kMaxArgs = 64;
    // The version of "command" and "command_result" this program speaks; a receiver
    // answers a command of another version with code 2 and says why.
    static constexpr int kCommandVersion = 1;
    // Longer "out" and "err" texts are cut, so that every answer fits on its line.
    static constexpr std::size_t kMaxTextBytes = 24 * 1024;

    static constexpr std::string_view kActivate = "activate";
    static constexpr std::string_view kUpdateRelay = "update_relay";
    static constexpr std::string_view kLightState = "light_state";
    static constexpr std::string_view kLightControl = "light_control";
    static constexpr std::string_view kWorkToolQuery = "worktool_query";
    static constexpr std::string_view kWorkToolTable = "worktool_table";
    static constexpr std::string_view kSubscribe = "subscribe";
    static constexpr std::string_view kCommand = "command";
    static constexpr std::string_view kCommandResult = "command_result";
    static constexpr std::string_view kRefused = "refused";

    // The reasons a "refused" gives.
    static constexpr std::string_view kTooManyConnections = "too many connections";
    static constexpr std::string_view kTooManySubscriptions = "too many subscriptions";

    LocalMessage() = default;
    // A message without members besides its type (activate, worktool_query, subscribe).
    explicit LocalMessage(std::string_view type);
    static LocalMessage WithParams(std::string_view type, std::int64_t wparam, std::int64_t lparam);
    static LocalMessage WorkToolTable(std::vector<std::uint32_t> words);
    static LocalMessage Command(std::vector<std::string> args, std::string workingDir = {});
    static LocalMessage CommandResult(int code, std::string out, std::string err);
    static LocalMessage Refused(std::string_view reason);

    // `line` without its "\n". Empty when the line is not a well-formed message.
    static std::optional<LocalMessage> Parse(std::string_view line);
    // The line, "\n" included.
    std::string Encode() const;

    const std::string& type() const { return type_; }
    bool Is(std::string_view type) const { return type_ == type; }
    std::int64_t wparam() const { return wparam_; }
    std::int64_t lparam() const { return lparam_; }
    const std::vector<std::uint32_t>& words() const { return words_; }
    int version() const { return version_; }
    const std::vector<std::string>& args() const { return args_; }
    int code() const { return code_; }
    const std::string& out() const { return out_; }
    const std::string& err() const { return err_; }
    // The sender's working folder, for a command's relative file names; may be empty.
    const std::string& workingDir() const { return workingDir_; }
    const std::string& reason() const { return reason_; }

    // The types whose objects must carry integer "wparam" and "lparam".
    static bool TakesParams(std::string_view type);

private:
    std::string type_;
    std::int64_t wparam_ = 0;
    std::int64_t lparam_ = 0;
    std::vector<std::uint32_t> words_;
    int version_ = 0;
    std::vector<std::string> args_;
    int code_ = 0;
    std::string out_;
    std::string err_;
    std::string workingDir_;
    std::string reason_;
};

}  // namespace platform
