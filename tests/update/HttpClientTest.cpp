// SPDX-License-Identifier: GPL-3.0-or-later
// The HTTP client against a local server on 127.0.0.1, plain and TLS with an authority
// made for the test.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/Event.h"
#include "support/LocalUpdateServer.h"
#include "update/HttpClient.h"

namespace {

using testsupport::LocalUpdateServer;
using update::HttpClient;

Json::Value Script(const std::string& body, int repeat = 1) {
    Json::Value script;
    script["default"]["body"] = body;
    script["default"]["repeat"] = repeat;
    return script;
}

Json::Value Silent() {
    Json::Value script;
    script["default"]["silent"] = true;
    return script;
}

struct Reply {
    long size = 0;
    std::vector<char> buffer;
    std::string Text() const {
        return std::string(buffer.data(), static_cast<size_t>(std::max(0L, size)));
    }
    std::string Head() const {
        return std::string(buffer.data(), HttpClient::kNoLinkServer.size());
    }
};

Reply Post(HttpClient& client, const std::string& url, const std::string& body,
           std::size_t capacity = 1024, const platform::Event* cancel = nullptr) {
    Reply reply;
    reply.buffer.assign(capacity, 0);
    reply.size = client.Request("POST", url, body, reply.buffer.data(), capacity, false, cancel);
    return reply;
}

TEST(HttpClient, PostSendsTheHeaderBlockAndTheBodyAsItIsAndReturnsAnyAnswer) {
    LocalUpdateServer server(Script(R"({"name":"x"})"));
    ASSERT_TRUE(server.Running());
    HttpClient client;
    const std::string body("app_key=A B&version=105\0", 24);
    const Reply reply = Post(client, server.BaseUrl() + "api/updates", body);
    EXPECT_EQ(reply.Text(), R"({"name":"x"})");

    // An empty POST says so and sends nothing; GET is accepted in any case.
    EXPECT_EQ(Post(client, server.BaseUrl() + "empty", "").size, 12);
    std::vector<char> buffer(64, 0);
    EXPECT_EQ(
        client.Request("get", server.BaseUrl() + "g", "", buffer.data(), buffer.size(), false), 12);

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0]["method"].asString(), "POST");
    EXPECT_EQ(requests[0]["path"].asString(), "/api/updates");
    EXPECT_EQ(testsupport::FromHex(requests[0]["body"].asString()), body) << "the zero byte too";
    EXPECT_EQ(requests[0]["headers"]["Content-Length"].asString(), "24");
    EXPECT_EQ(requests[0]["headers"]["Content-Type"].asString(),
              "application/x-www-form-urlencoded");
    EXPECT_EQ(requests[0]["headers"]["Accept"].asString(), "application/prs.Vexal.v1+json");
    EXPECT_EQ(requests[0]["headers"]["User-Agent"].asString(), "WinHTTP Client/1.0");
    EXPECT_EQ(requests[1]["headers"]["Content-Length"].asString(), "0");
    EXPECT_EQ(requests[1]["body"].asString(), "");
    EXPECT_EQ(requests[2]["method"].asString(), "GET");
}

TEST(HttpClient, AnAnswerLongerThanTheBufferIsCutAtItsCapacity) {
    LocalUpdateServer server(Script("0123456789", 20000));  // 200000 bytes
    ASSERT_TRUE(server.Running());
    HttpClient client;
    const Reply reply = Post(client, server.BaseUrl(), "x", 102400);
    ASSERT_EQ(reply.size, 102400);
    EXPECT_EQ(reply.Text().substr(102390), "0123456789");
    EXPECT_EQ(client.Settings().lastError, 0);
}

TEST(HttpClient, RequestsThatCannotBeMadeAreRefusedOrMarked) {
    HttpClient client;
    std::vector<char> buffer(32, 0);
    EXPECT_EQ(client.Request("POST", "", "", buffer.data(), buffer.size(), false), -1);
    EXPECT_EQ(client.Settings().lastError, HttpClient::kErrorNoUrl);
    EXPECT_EQ(client.Request("PUT", "http://127.0.0.1:1/", "", buffer.data(), buffer.size(), false),
              -1);
    EXPECT_EQ(client.Settings().lastError, HttpClient::kErrorBadMethod);
    EXPECT_EQ(buffer[0], 0) << "untouched";

    // Nothing listens: never sent.
    const std::string closed =
        "http://127.0.0.1:" + std::to_string(testsupport::ClosedPort()) + "/";
    Reply reply = Post(client, closed, "x", 32);
    EXPECT_EQ(reply.size, 0);
    EXPECT_EQ(reply.Head(), "NO_LINK_SERVER");
    EXPECT_EQ(reply.buffer[14], 0) << "no terminating zero of its own";
    // Only web addresses are fetched.
    EXPECT_EQ(Post(client, "file:///etc/passwd", "x", 32).Head(), "NO_LINK_SERVER");
    // A buffer shorter than the marker takes what fits.
    std::vector<char> tiny(4, 0);
    EXPECT_EQ(client.Request("POST", closed, "", tiny.data(), tiny.size(), false), 0);
    EXPECT_EQ(std::string(tiny.data(), 4), "NO_L");
}

TEST(HttpClient, CertificatesAreVerifiedAgainstTheTrustedAuthority) {
    testsupport::TestAuthority authority;
    ASSERT_TRUE(authority.Ready()) << "the openssl tool is needed";
    HttpClient client;
    client.Settings().caFile = authority.CaFile().string();
    {
        LocalUpdateServer good(Script("ok"), authority.ServerCert(), authority.ServerKey());
        ASSERT_TRUE(good.Running());
        EXPECT_EQ(Post(client, good.BaseUrl(), "x").Text(), "ok");
        client.Reset();
        EXPECT_EQ(client.Settings().caFile, authority.CaFile().string()) << "kept by a reset";
    }
    {
        LocalUpdateServer stranger(Script("evil"), authority.StrangerCert(),
                                   authority.StrangerKey());
        ASSERT_TRUE(stranger.Running());
        const Reply reply = Post(client, stranger.BaseUrl(), "x");
        EXPECT_EQ(reply.size, 0) << "an unknown issuer is refused";
        EXPECT_EQ(reply.Head(), "NO_LINK_SERVER");
        EXPECT_TRUE(stranger.Requests().empty());
    }
    {
        LocalUpdateServer wrongName(Script("evil"), authority.WrongNameCert(),
                                    authority.WrongNameKey());
        ASSERT_TRUE(wrongName.Running());
        EXPECT_EQ(Post(client, wrongName.BaseUrl(), "x").Head(), "NO_LINK_SERVER")
            << "a certificate for another host is refused";
    }
}

TEST(HttpClient, ASilentServerEndsAtTheStallLimitOrAtOnceWhenCancelled) {
    LocalUpdateServer server(Silent());
    ASSERT_TRUE(server.Running());
    HttpClient client;
    platform::Event cancel(platform::Event::Mode::ManualReset);
    std::thread canceller([&] {
        // Real time on purpose: the cancel comes while the transfer runs.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        cancel.Set();
    });
    auto start = std::chrono::steady_clock::now();
    const Reply cancelled = Post(client, server.BaseUrl(), "x", 64, &cancel);
    const auto cancelledAfter = std::chrono::steady_clock::now() - start;
    canceller.join();
    EXPECT_EQ(cancelled.size, 0);
    EXPECT_LT(cancelledAfter, std::chrono::milliseconds(1500));

    // Sent but never answered: no marker, after the receive limit.
    client.Settings().receiveTimeoutMs = 1000;
    client.Settings().sendTimeoutMs = 1000;
    start = std::chrono::steady_clock::now();
    const Reply stalled = Post(client, server.BaseUrl(), "x", 64);
    const auto stalledAfter = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(stalled.size, 0);
    EXPECT_EQ(stalled.buffer[0], 0) << "a sent request leaves the buffer alone";
    EXPECT_LT(stalledAfter, std::chrono::milliseconds(5000));
    EXPECT_NE(client.Settings().lastError, 0);
}

}  // namespace

namespace {

bool LibcurlLoaded() {
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
        if (line.find("libcurl") != std::string::npos) return true;
    return false;
}

}  // namespace

TEST(HttpClientDeathTest, LibcurlIsLoadedByTheFirstRequestNotWithTheProgram) {
    // A program of its own (started afresh, not forked): no request was made in it before.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto firstRequest = [] {
        HttpClient client;
        if (LibcurlLoaded()) return 1;
        LocalUpdateServer server(Script("ok"));  // stopped before the program ends
        if (!server.Running()) return 2;
        if (Post(client, server.BaseUrl() + "api/updates", "a=b").Text() != "ok") return 3;
        return LibcurlLoaded() ? 0 : 4;
    };
    EXPECT_EXIT(std::_Exit(firstRequest()), ::testing::ExitedWithCode(0), "");
}
