#pragma once
// One question to the update service: is there a newer version of this product? A form
// POST of the product's key and installed version to the service's "api/updates", and
// the JSON answer read into an UpdateInfo.
//
// The answer comes from the network and is believed only as far as it makes sense: a
// body that is not a JSON object, a version that is not a whole number, or a download
// address that is not http(s) never reads as a newer version.
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
    // "app_key=KEY&version=N" (N hexadecimal for firmware) with its terminating zero byte,
    // which the service is sent and counted in the length.
    static std::string RequestBody(std::string_view key, std::uint32_t version, int hexFlag);
    // The result for an answer of `size` bytes (0: the buffer's text is the name, which
    // is HttpClient::kNoLinkServer when nothing was sent).
    static UpdateInfo ReadAnswer(const char* data, std::size_t size, std::uint32_t version,
                                 int hexFlag);
    // Asks the service; with no base URL nothing is sent and the result is unanswered.
    static UpdateInfo Ask(HttpClient& client, std::string_view baseUrl, std::string_view key,
                          std::uint32_t version, int hexFlag,
                          const platform::Event* cancel = nullptr);
    // "V0105" for firmware, "V103" for the program.
    static std::string LocalVersionText(std::uint32_t version, int hexFlag);
};

}  // namespace update
