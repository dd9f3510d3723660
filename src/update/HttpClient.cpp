// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/HttpClient.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/Event.h"
#include "platform/TextCompare.h"
#include "platform/Trace.h"
#include "update/CurlLibrary.h"

namespace update {

namespace {

// How long one wait of the transfer loop lasts at most; the cancel event ends it earlier.
constexpr int kPollMs = 1000;

struct Sink {
    char* buffer = nullptr;
    std::size_t capacity = 0;
    std::size_t used = 0;
};

// Keeps what fits; a chunk that does not fit ends the transfer (the rest is dropped).
std::size_t Keep(char* data, std::size_t size, std::size_t count, void* user) {
    auto* sink = static_cast<Sink*>(user);
    const std::size_t bytes = size * count;
    const std::size_t take = std::min(bytes, sink->capacity - sink->used);
    if (take > 0) std::memcpy(sink->buffer + sink->used, data, take);
    sink->used += take;
    return take == bytes ? bytes : 0;
}

struct CurlHandles {
    explicit CurlHandles(const CurlLibrary& library)
        : curl(library), easy(curl.easy_init()), multi(curl.multi_init()) {}
    ~CurlHandles() {
        if (multi != nullptr && easy != nullptr) curl.multi_remove_handle(multi, easy);
        if (multi != nullptr) curl.multi_cleanup(multi);
        if (easy != nullptr) curl.easy_cleanup(easy);
        curl.slist_free_all(headers);
    }
    CurlHandles(const CurlHandles&) = delete;
    CurlHandles& operator=(const CurlHandles&) = delete;

    const CurlLibrary& curl;
    CURL* easy;
    CURLM* multi;
    curl_slist* headers = nullptr;
};

curl_slist* HeaderBlock(const CurlLibrary& curl, std::size_t bodyLength) {
    const std::string length = "Content-Length: " + std::to_string(bodyLength);
    curl_slist* list = curl.slist_append(nullptr, length.c_str());
    list = curl.slist_append(list, "Content-Type: application/x-www-form-urlencoded");
    list = curl.slist_append(list, "Accept:application/prs.Vexal.v1+json");
    // libcurl would otherwise hold larger bodies back until the server invites them.
    list = curl.slist_append(list, "Expect:");
    return list;
}

// Runs the transfer until it ends or `cancel` is set; the transfer's own result.
CURLcode Run(CurlHandles& h, const platform::Event* cancel) {
    const CurlLibrary& curl = h.curl;
    curl.multi_add_handle(h.multi, h.easy);
    int running = 1;
    while (true) {
        if (curl.multi_perform(h.multi, &running) != CURLM_OK) return CURLE_FAILED_INIT;
        if (running == 0) break;
        curl_waitfd stop{};
        unsigned extra = 0;
        if (cancel != nullptr) {
            stop.fd = cancel->fd();
            stop.events = CURL_WAIT_POLLIN;
            extra = 1;
        }
        curl.multi_poll(h.multi, extra != 0 ? &stop : nullptr, extra, kPollMs, nullptr);
        if (cancel != nullptr && cancel->IsSet()) return CURLE_ABORTED_BY_CALLBACK;
    }
    CURLcode result = CURLE_OK;
    int left = 0;
    while (CURLMsg* message = curl.multi_info_read(h.multi, &left)) {
        if (message->msg == CURLMSG_DONE) result = message->data.result;
    }
    return result;
}

// What a request that never left puts in the caller's buffer.
void SayNeverSent(char* buffer, std::size_t capacity) {
    if (buffer == nullptr) return;
    const std::string_view text = HttpClient::kNoLinkServer;
    std::memcpy(buffer, text.data(), std::min(capacity, text.size()));
}

long StallSeconds(const HttpClientSettings& s) {
    const int ms = std::max(s.sendTimeoutMs, s.receiveTimeoutMs);
    return ms <= 0 ? 0 : (ms + 999) / 1000;
}

}  // namespace

HttpClient::HttpClient() = default;

HttpClient::~HttpClient() = default;

void HttpClient::Reset() {
    std::string caFile = std::move(settings_.caFile);
    settings_ = HttpClientSettings();
    settings_.caFile = std::move(caFile);
}

long HttpClient::Request(std::string_view method, std::string_view url, std::string_view body,
                         char* buffer, std::size_t capacity, bool useProxy,
                         const platform::Event* cancel) {
    settings_.lastStatus = 0;
    settings_.lastCut = false;
    if (url.empty()) {
        settings_.lastError = kErrorNoUrl;
        return -1;
    }
    const bool post = platform::EqualsNoCase(method, "POST");
    if (!post && !platform::EqualsNoCase(method, "GET")) {
        settings_.lastError = kErrorBadMethod;
        return -1;
    }
    const CurlLibrary* curl = CurlLibrary::Get();
    if (curl == nullptr) {
        // Without libcurl nothing can be sent: as for a request that never left.
        settings_.lastError = CURLE_FAILED_INIT;
        SayNeverSent(buffer, capacity);
        return 0;
    }
    CurlHandles h(*curl);
    if (h.easy == nullptr || h.multi == nullptr) {
        settings_.lastError = CURLE_FAILED_INIT;
        return -1;
    }
    const std::string target(url);
    Sink sink{buffer, buffer != nullptr ? capacity : 0, 0};
    CURL* e = h.easy;
    curl->easy_setopt(e, CURLOPT_URL, target.c_str());
    curl->easy_setopt(e, CURLOPT_PROTOCOLS_STR, settings_.httpsOnly ? "https" : "http,https");
    curl->easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl->easy_setopt(e, CURLOPT_USERAGENT, settings_.userAgent.c_str());
    curl->easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
    curl->easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!settings_.caFile.empty()) curl->easy_setopt(e, CURLOPT_CAINFO, settings_.caFile.c_str());
    curl->easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS,
                      static_cast<long>(std::max(0, settings_.connectTimeoutMs)));
    if (const long stall = StallSeconds(settings_); stall > 0) {
        curl->easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl->easy_setopt(e, CURLOPT_LOW_SPEED_TIME, stall);
    }
    // A server dripping a byte now and then never stalls: only an overall limit ends it.
    if (settings_.totalTimeoutMs > 0)
        curl->easy_setopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(settings_.totalTimeoutMs));
    if (post) {
        curl->easy_setopt(e, CURLOPT_POST, 1L);
    } else if (!body.empty()) {
        curl->easy_setopt(e, CURLOPT_CUSTOMREQUEST, "GET");
    }
    if (post || !body.empty()) {
        curl->easy_setopt(e, CURLOPT_POSTFIELDS, body.data());
        curl->easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    }
    h.headers = HeaderBlock(*curl, body.size());
    curl->easy_setopt(e, CURLOPT_HTTPHEADER, h.headers);
    if (useProxy && !settings_.proxyName.empty()) {
        curl->easy_setopt(e, CURLOPT_PROXY, settings_.proxyName.c_str());
        if (!settings_.proxyUserName.empty()) {
            curl->easy_setopt(e, CURLOPT_PROXYUSERNAME, settings_.proxyUserName.c_str());
            curl->easy_setopt(e, CURLOPT_PROXYPASSWORD, settings_.proxyPassword.c_str());
        }
    }
    curl->easy_setopt(e, CURLOPT_WRITEFUNCTION, &Keep);
    curl->easy_setopt(e, CURLOPT_WRITEDATA, &sink);

    const CURLcode result = Run(h, cancel);
    // A body cut at the buffer's end is an answer like any other.
    const bool cut = result == CURLE_WRITE_ERROR && sink.used == sink.capacity;
    settings_.lastError = cut ? 0 : static_cast<long>(result);
    settings_.lastCut = cut;
    long status = 0;
    curl->easy_getinfo(e, CURLINFO_RESPONSE_CODE, &status);
    settings_.lastStatus = status;
    platform::TraceF("HTTP %s %s: status %ld, %zu bytes%s, result %ld\n", post ? "POST" : "GET",
                     target.c_str(), status, sink.used, cut ? " (cut)" : "", settings_.lastError);
    long requestBytes = 0;
    curl->easy_getinfo(e, CURLINFO_REQUEST_SIZE, &requestBytes);
    if (requestBytes <= 0) {
        SayNeverSent(buffer, capacity);
        return 0;
    }
    return static_cast<long>(sink.used);
}

}  // namespace update
