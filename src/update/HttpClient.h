// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small synchronous HTTP client over libcurl: one GET or POST with a form-encoded body
// to a full URL, the response body placed in the caller's buffer.
//
// Certificates are always verified on https (peer and host name); a failed verification
// is a request that was never sent. Proxies come from the environment (http_proxy,
// https_proxy, no_proxy, as libcurl reads them) unless the call asks for the named proxy
// of the settings.
//
// Threads: one client per thread. Request blocks the calling thread for up to the
// time-outs, but ends at once when the `cancel` event it was given is set.
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {
class Event;
}

namespace update {

struct HttpClientSettings {
    std::string userAgent = "WinHTTP Client/1.0";
    std::string proxyName;  // used only by requests that ask for the named proxy
    std::string proxyUserName;
    std::string proxyPassword;
    // Certificate authorities to trust instead of the system's (a PEM file); empty: the
    // system's.
    std::string caFile;
    long lastError = 0;        // 3: no URL; 87: unknown method; else the libcurl code
    long lastStatus = 0;       // the HTTP status of the last answer; 0 when none came
    bool lastCut = false;      // the last answer was longer than the buffer
    bool httpsOnly = false;    // anything but https is never sent
    int resolveTimeoutMs = 0;  // 0: no limit of its own (the connect limit covers it)
    int connectTimeoutMs = 60000;
    int sendTimeoutMs = 30000;     // longest stall while sending
    int receiveTimeoutMs = 30000;  // longest stall while waiting for or reading the answer
    int totalTimeoutMs = 0;        // the whole request, however it trickles; 0: no limit
};

class HttpClient {
public:
    // Written at the start of the buffer when the request was never sent (no terminating
    // zero; the caller zeroes the buffer beforehand).
    static constexpr std::string_view kNoLinkServer = "NO_LINK_SERVER";
    static constexpr long kErrorNoUrl = 3;
    static constexpr long kErrorBadMethod = 87;

    HttpClient();
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // Back to the values above (the CA file is kept: it is where this machine's trust is).
    void Reset();
    HttpClientSettings& Settings() { return settings_; }

    // Sends `body` as is with "GET" or "POST" (any case) and returns the number of body
    // bytes placed in `buffer`, at most `capacity` (the rest of a longer answer is
    // dropped); -1 for an empty URL or another method (buffer untouched). A request that
    // was never sent (no connection, bad certificate, cancelled before sending) returns 0
    // with kNoLinkServer in the buffer; one sent but not answered returns 0 and leaves the
    // buffer alone. The HTTP status is not judged here: it is traced and left in
    // Settings().lastStatus for the caller.
    long Request(std::string_view method, std::string_view url, std::string_view body, char* buffer,
                 std::size_t capacity, bool useProxy, const platform::Event* cancel = nullptr);

private:
    HttpClientSettings settings_;
};

}  // namespace update
