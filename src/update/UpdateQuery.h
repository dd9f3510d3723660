// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One question to the update service: is there a newer version of this product? A form
// POST of the product's key and installed version to the service's "api/updates", and
// the JSON answer read into an UpdateInfo.
//
// Only an answer is believed: an HTTP status of 2xx with a body that is a JSON object of
// the expected shape (no "name": nothing newer; a "name" with a whole-number "version"
// and an https download address or none). Anything else (another status, a redirect, no
// body, a body cut at the buffer's end, text that is not such an object, no answer within
// the time limit) is no answer, never "up to date".
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "update/UpdateInfo.h"

namespace platform {
class Event;
}

namespace update {

class HttpClient;

class UpdateQuery {
public:
    static constexpr std::size_t kAnswerCapacity = 102400;
    // Texts of the answer shown to the user are cut to this many bytes.
    static constexpr std::size_t kMaxShownBytes = 64;

    // The service's base URL (ending with "/") followed by "api/updates".
    static std::string ServiceUrl(std::string_view baseUrl);
    // One request's limit, however slowly its answer comes.
    static constexpr int kRequestLimitMs = 10000;

    // "app_key=KEY&version=N" (N hexadecimal for firmware), form-encoded: the key's
    // blanks and other reserved bytes percent-encoded. No terminating zero: the service
    // reads a form, and a zero would end up inside the version.
    static std::string RequestBody(std::string_view key, std::uint32_t version, int hexFlag);
    // Bytes of `text` as a form value: letters, digits and "-._~" as they are, a blank as
    // "+", everything else as %XX.
    static std::string FormValue(std::string_view text);
    // The result for a body of `size` bytes that came with a 2xx status; `unanswered`
    // when it is not the expected shape.
    static UpdateInfo ReadAnswer(const char* data, std::size_t size, std::uint32_t version,
                                 int hexFlag);
    // Asks the service; with no base URL, or one that is not https, nothing is sent and
    // the result is unanswered.
    static UpdateInfo Ask(HttpClient& client, std::string_view baseUrl, std::string_view key,
                          std::uint32_t version, int hexFlag,
                          const platform::Event* cancel = nullptr, int limitMs = kRequestLimitMs);
    // "V0105" for firmware, "V103" for the program.
    static std::string LocalVersionText(std::uint32_t version, int hexFlag);
};

}  // namespace update
