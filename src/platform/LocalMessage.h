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

    static constexpr std::string_view kActivate = "activate";
    static constexpr std::string_view kUpdateRelay = "update_relay";
    static constexpr std::string_view kLightState = "light_state";
    static constexpr std::string_view kLightControl = "light_control";
    static constexpr std::string_view kWorkToolQuery = "worktool_query";
    static constexpr std::string_view kWorkToolTable = "worktool_table";
    static constexpr std::string_view kSubscribe = "subscribe";

    LocalMessage() = default;
    // A message without members besides its type (activate, worktool_query, subscribe).
    explicit LocalMessage(std::string_view type);
    static LocalMessage WithParams(std::string_view type, std::int64_t wparam, std::int64_t lparam);
    static LocalMessage WorkToolTable(std::vector<std::uint32_t> words);

    // `line` without its "\n". Empty when the line is not a well-formed message.
    static std::optional<LocalMessage> Parse(std::string_view line);
    // The line, "\n" included.
    std::string Encode() const;

    const std::string& type() const { return type_; }
    bool Is(std::string_view type) const { return type_ == type; }
    std::int64_t wparam() const { return wparam_; }
    std::int64_t lparam() const { return lparam_; }
    const std::vector<std::uint32_t>& words() const { return words_; }

    // The types whose objects must carry integer "wparam" and "lparam".
    static bool TakesParams(std::string_view type);

private:
    std::string type_;
    std::int64_t wparam_ = 0;
    std::int64_t lparam_ = 0;
    std::vector<std::uint32_t> words_;
};

}  // namespace platform
