// SPDX-License-Identifier: GPL-3.0-or-later
// What the update check sends and how it reads what comes back: the product keys, the
// request body, and answers of every shape.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/Event.h"
#include "platform/SettingsStore.h"
#include "support/LocalUpdateServer.h"
#include "update/HttpClient.h"
#include "update/UpdateCheck.h"
#include "update/UpdateProduct.h"
#include "update/UpdateQuery.h"
#include "update/UpdateService.h"

namespace {

using update::UpdateInfo;
using update::UpdateQuery;

UpdateInfo Read(const std::string& body, std::uint32_t version, int hexFlag) {
    return UpdateQuery::ReadAnswer(body.data(), body.size(), version, hexFlag);
}

TEST(UpdateProducts, KeysAndVersionsOfTheRows) {
    const auto rows = update::UpdateProductTable();
    ASSERT_EQ(rows.size(), 4u);
    update::UpdateProduct app = rows[3];
    EXPECT_EQ(update::AppKey(app), "NULL") << "no version yet";
    app.version = 10;
    EXPECT_EQ(update::AppKey(app), "VEXAL_0_ALL_TELIX TX512 keyboard Driver_1");
    EXPECT_EQ(update::EntryName(app), "AP");
    EXPECT_EQ(update::EntryName(rows[1]), "NORVANE Game Device");
    EXPECT_EQ(rows[3].versionText, "V0100");

    EXPECT_EQ(update::InstalledAppVersion("1.0.3"), 103u);
    EXPECT_EQ(update::InstalledAppVersion("0.1.0"), 10u);
    EXPECT_EQ(update::InstalledAppVersion("2.5-beta"), 25u);
    EXPECT_EQ(update::InstalledAppVersion(""), 0u);
    EXPECT_EQ(update::InstalledAppVersion("99999999999"), 0u) << "too long to be a version";
}

TEST(UpdateQuery, BodyIsAFormOfTheKeyAndTheVersionInItsBaseWithoutAZeroByte) {
    EXPECT_EQ(UpdateQuery::RequestBody("K A", 0x0105, 1), "app_key=K+A&version=105");
    EXPECT_EQ(UpdateQuery::RequestBody("K", 103, 0), "app_key=K&version=103");
    // Bytes that would end or split a form value are encoded, UTF-8 byte by byte.
    EXPECT_EQ(UpdateQuery::FormValue("a&b=c+d%e/\xc3\xa9_-.~"), "a%26b%3Dc%2Bd%25e%2F%C3%A9_-.~");
    EXPECT_EQ(UpdateQuery::ServiceUrl("https://127.0.0.1:8/"), "https://127.0.0.1:8/api/updates");
    EXPECT_EQ(UpdateQuery::LocalVersionText(0x0105, 1), "V0105");
    EXPECT_EQ(UpdateQuery::LocalVersionText(103, 0), "V103");
}

TEST(UpdateQuery, NewerFirmwareAndAnEqualProgramVersion) {
    const UpdateInfo firmware = Read(
        R"({"name":"fw","version":"106","version_name":"1.06","path":"https://127.0.0.1/fw.bin","device_id":7})",
        0x0105, 1);
    EXPECT_EQ(firmware.status, UpdateInfo::kNewer);
    EXPECT_EQ(firmware.localVersion, "V0105");
    EXPECT_EQ(firmware.serverVersion, "V106");
    EXPECT_EQ(firmware.downloadUrl, "https://127.0.0.1/fw.bin");
    EXPECT_EQ(firmware.deviceId, 7);

    const UpdateInfo app = Read(R"({"name":"ap","version":"103","version_name":"1.0.3"})", 103, 0);
    EXPECT_EQ(app.status, UpdateInfo::kUpToDate);
    EXPECT_EQ(app.localVersion, "V103");
    EXPECT_EQ(Read(R"({"name":"ap","version":"104","version_name":"1.0.4"})", 103, 0).serverVersion,
              "1.0.4");
    EXPECT_EQ(Read(R"({"name":"ap","version":104})", 103, 0).status, UpdateInfo::kNewer)
        << "a plain number is read as its digits";
}

TEST(UpdateQuery, AnswersThatDoNotMakeSenseAreNoAnswerAndNeverAnUpdate) {
    const std::string good = R"("name":"x","path":"https://127.0.0.1/x")";
    const std::vector<std::string> bodies = {
        std::string("not json"),
        std::string("[1,2,3]"),
        std::string("\"text\""),
        std::string(R"({"name":"x","version":"999"} trailing)"),
        "{" + good + R"(,"version":"abc"})",
        "{" + good + R"(,"version":"1.2"})",
        "{" + good + R"(,"version":""})",
        "{" + good + R"(,"version":"-5"})",
        "{" + good + R"(,"version":"99999999999"})",
        "{" + good + R"(,"version":true})",
        "{" + good + R"(,"version":-1})",
        R"({"name":5,"version":"999"})",
        R"({"name":"\u0007","version":"999"})",
        R"({"name":"x","version":"999","path":"file:///etc/passwd"})",
        R"x({"name":"x","version":"999","path":"javascript:alert(1)"})x",
        R"({"name":"x","version":"999","path":"http://127.0.0.1/x"})",
        R"({"name":"x","version":"999","path":"https:///nohost"})",
        R"({"name":"x","version":"999","path":"https://a b/"})",
        R"({"name":"x","version":"999","path":7})",
        std::string(200, '[') + std::string(200, ']'),
        std::string("{\"name\":\"\xff\",\"version\":\"999\"}")};
    for (const std::string& body : bodies) {
        const UpdateInfo info = Read(body, 0x0105, 0);
        EXPECT_TRUE(info.unanswered) << body;
        EXPECT_NE(info.status, UpdateInfo::kNewer) << body;
        EXPECT_TRUE(info.serverVersion.empty()) << body;
        EXPECT_TRUE(info.downloadUrl.empty()) << body;
    }
    // An object without a name is the service saying it knows of nothing newer.
    for (const char* nothing : {"{}", R"({"name":""})"}) {
        EXPECT_FALSE(Read(nothing, 1, 0).unanswered) << nothing;
        EXPECT_EQ(Read(nothing, 1, 0).status, UpdateInfo::kUpToDate) << nothing;
    }
    // Hexadecimal digits are a version only for firmware.
    EXPECT_EQ(Read(R"({"name":"x","version":"1a0"})", 0x0105, 1).status, UpdateInfo::kNewer);
    EXPECT_TRUE(Read(R"({"name":"x","version":"1a0"})", 5, 0).unanswered);
    // A body cut at the buffer's end is not JSON.
    const std::string cut = R"({"name":"x","version":"999","pad":")" + std::string(200000, 'a');
    EXPECT_TRUE(UpdateQuery::ReadAnswer(cut.data(), UpdateQuery::kAnswerCapacity, 1, 0).unanswered);
    // Texts shown from the answer lose control characters and stay short.
    const UpdateInfo shown =
        Read(R"({"name":"a\u0007b","version":"9","version_name":")" + std::string(300, 'v') + "\"}",
             1, 0);
    EXPECT_EQ(shown.name, "ab");
    EXPECT_EQ(shown.serverVersion.size(), UpdateQuery::kMaxShownBytes);
}

TEST(UpdateService, OnlyAnHttpsAddressIsTakenAndARefusedOneNamesItsSetting) {
    EXPECT_EQ(update::UpdateService::NormalisedBaseUrl("https://127.0.0.1:9"),
              "https://127.0.0.1:9/");
    EXPECT_EQ(update::UpdateService::NormalisedBaseUrl("HTTPS://h/x/"), "HTTPS://h/x/");
    for (const char* bad : {"", "ftp://h/", "http://h/", "HTTP://h/", "https://", "https:///x",
                            "h/x", "https://h/ x", "https://h/?q"})
        EXPECT_EQ(update::UpdateService::NormalisedBaseUrl(bad), "") << bad;

    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("update-settings-" + std::to_string(::getpid()));
    platform::SettingsStore store(file);
    ASSERT_TRUE(store.Set("UpdateURL", "http://updates.example/"));
    ::unsetenv("TX512_UPDATE_URL");
    update::UpdateService service = update::UpdateService::Configured(store);
    EXPECT_EQ(service.baseUrl, "");
    EXPECT_EQ(service.refusedSetting, "UpdateURL");
    // The variable goes before the setting, and is named when it is the one refused.
    ::setenv("TX512_UPDATE_URL", "http://127.0.0.1:1/", 1);
    EXPECT_EQ(update::UpdateService::Configured(store).refusedSetting, "TX512_UPDATE_URL");
    ::setenv("TX512_UPDATE_URL", "https://127.0.0.1:1/", 1);
    service = update::UpdateService::Configured(store);
    EXPECT_EQ(service.baseUrl, "https://127.0.0.1:1/");
    EXPECT_EQ(service.refusedSetting, "");
    ::unsetenv("TX512_UPDATE_URL");
    ASSERT_TRUE(store.Set("UpdateURL", ""));
    EXPECT_EQ(update::UpdateService::Configured(store).refusedSetting, "") << "none is no refusal";
    std::filesystem::remove(file);
}

// The update check against a stand-in service over TLS, with an authority of the test's.
class UpdateAgainstService : public ::testing::Test {
protected:
    static void SetUpTestSuite() { authority_ = new testsupport::TestAuthority(); }
    static void TearDownTestSuite() {
        delete authority_;
        authority_ = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(authority_->Ready()) << "the openssl tool is needed"; }
    std::unique_ptr<testsupport::LocalUpdateServer> Serve(const Json::Value& script) {
        auto server = std::make_unique<testsupport::LocalUpdateServer>(
            script, authority_->ServerCert(), authority_->ServerKey());
        EXPECT_TRUE(server->Running());
        return server;
    }
    update::UpdateService Service(const testsupport::LocalUpdateServer& server) const {
        return update::UpdateService{server.BaseUrl(), authority_->CaFile().string(), {}};
    }
    UpdateInfo Ask(const testsupport::LocalUpdateServer& server, int limitMs = 3000) {
        client_.Settings().caFile = authority_->CaFile().string();
        return UpdateQuery::Ask(client_, server.BaseUrl(), "K", 0x0105, 1, nullptr, limitMs);
    }
    static Json::Value Default(Json::Value answer) {
        Json::Value script;
        script["default"] = std::move(answer);
        return script;
    }
    static Json::Value Answer(int status, const std::string& body) {
        Json::Value answer;
        answer["status"] = status;
        answer["body"] = body;
        return answer;
    }
    static std::vector<update::UpdateProduct> Rows() {
        auto rows = update::UpdateProductTable();
        for (auto& row : rows) row.version = row.hexFlag != 0 ? 0x0105 : 10;
        return rows;
    }

    static testsupport::TestAuthority* authority_;
    update::HttpClient client_;
};

testsupport::TestAuthority* UpdateAgainstService::authority_ = nullptr;

const char* const kNewer = R"({"name":"kb","version":"106","path":"https://127.0.0.1/k"})";

TEST_F(UpdateAgainstService, OnlyA2xxAnswerOfTheExpectedShapeCounts) {
    auto server = Serve(Default(Answer(200, kNewer)));
    const UpdateInfo newer = Ask(*server);
    EXPECT_FALSE(newer.unanswered);
    EXPECT_EQ(newer.status, UpdateInfo::kNewer);
    EXPECT_EQ(client_.Settings().lastStatus, 200) << "the status is read";
    const auto requests = server->Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string body = testsupport::FromHex(requests[0]["body"].asString());
    EXPECT_EQ(body, "app_key=K&version=105") << "no zero byte";
    EXPECT_EQ(requests[0]["headers"]["Content-Length"].asString(), "21");

    Json::Value redirect = Answer(302, kNewer);
    redirect["headers"]["Location"] = server->BaseUrl() + "elsewhere";
    Json::Value dripping = Answer(200, kNewer);
    dripping["drip_ms"] = 300;
    Json::Value silent;
    silent["silent"] = true;
    Json::Value huge = Answer(200, " ");
    huge["repeat"] = 200000;
    const std::vector<std::pair<const char*, Json::Value>> failures = {
        {"an error page with a good body", Answer(500, kNewer)},
        {"not found", Answer(404, R"({"name":""})")},
        {"a redirect", redirect},
        {"a body that is no JSON", Answer(200, "<html>maintenance</html>")},
        {"no body", Answer(200, "")},
        {"no content", Answer(204, "")},
        {"a body longer than the buffer", huge},
        {"a body dripping past the limit", dripping},
        {"no answer within the limit", silent},
    };
    for (const auto& [what, answer] : failures) {
        server->SetScript(Default(answer));
        const auto start = std::chrono::steady_clock::now();
        const UpdateInfo info = Ask(*server, 1500);
        EXPECT_TRUE(info.unanswered) << what;
        EXPECT_NE(info.status, UpdateInfo::kNewer) << what;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(4000))
            << what;
    }
    EXPECT_EQ(server->Requests().size(), failures.size() + 1) << "no redirect is followed";
}

TEST_F(UpdateAgainstService, NothingIsSentToAPlainAddress) {
    testsupport::LocalUpdateServer plain(Default(Answer(200, kNewer)));
    ASSERT_TRUE(plain.Running());
    const UpdateInfo info =
        UpdateQuery::Ask(client_, plain.BaseUrl(), "K", 0x0105, 1, nullptr, 2000);
    EXPECT_TRUE(info.unanswered);
    update::UpdateService service{plain.BaseUrl(), {}, {}};
    platform::Event stop(platform::Event::Mode::ManualReset);
    std::vector<UpdateInfo> answers;
    EXPECT_TRUE(update::UpdateCheck::Run(Rows(), service, stop, [&](std::size_t, UpdateInfo i) {
        answers.push_back(std::move(i));
    }));
    ASSERT_EQ(answers.size(), 4u);
    for (const UpdateInfo& answer : answers) EXPECT_TRUE(answer.unanswered);
    EXPECT_TRUE(plain.Requests().empty());
}

TEST_F(UpdateAgainstService, RowsAreAskedTogetherAndEveryOneEndsWithinTheLimits) {
    Json::Value script = Default(Answer(200, R"({"name":"other","version":"5"})"));
    script["answers"].append(testsupport::LocalUpdateServer::Answer("QX20P51C", kNewer));
    // Each answer takes 600 ms: four of them one after another would take 2.4 s.
    script["answers"][0]["delay_ms"] = 600;
    script["default"]["delay_ms"] = 600;
    auto server = Serve(script);
    platform::Event stop(platform::Event::Mode::ManualReset);
    std::vector<std::pair<std::size_t, UpdateInfo>> answers;
    const auto report = [&](std::size_t k, UpdateInfo info) {
        answers.emplace_back(k, std::move(info));
    };
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(update::UpdateCheck::Run(Rows(), Service(*server), stop, report));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));
    ASSERT_EQ(answers.size(), 4u);
    for (const auto& [k, info] : answers) {
        EXPECT_FALSE(info.unanswered) << k;
        EXPECT_EQ(info.status, k == 1 ? UpdateInfo::kNewer : UpdateInfo::kUpToDate) << k;
    }

    // A service dripping its answers: each request ends at its own limit, and the check
    // at its whole limit, every row then reported as unanswered.
    Json::Value drip;
    drip["default"]["drip_ms"] = 200;
    server->SetScript(drip);
    answers.clear();
    start = std::chrono::steady_clock::now();
    update::UpdateCheck::Limits limits{1000, 5000, 2};
    EXPECT_TRUE(update::UpdateCheck::Run(Rows(), Service(*server), stop, report, limits));
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(1900)) << "two rounds of two, 1 s each";
    EXPECT_LT(took, std::chrono::milliseconds(4500));
    ASSERT_EQ(answers.size(), 4u);
    for (const auto& [k, info] : answers) EXPECT_TRUE(info.unanswered) << k;

    answers.clear();
    start = std::chrono::steady_clock::now();
    limits = {60000, 1000, 4};
    EXPECT_TRUE(update::UpdateCheck::Run(Rows(), Service(*server), stop, report, limits));
    took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::milliseconds(2500)) << "the whole check's limit";
    ASSERT_EQ(answers.size(), 4u);
    for (const auto& [k, info] : answers) EXPECT_TRUE(info.unanswered) << k;

    // Stopped: ends at once and reports nothing more.
    answers.clear();
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        stop.Set();
    });
    start = std::chrono::steady_clock::now();
    EXPECT_FALSE(update::UpdateCheck::Run(Rows(), Service(*server), stop, report));
    took = std::chrono::steady_clock::now() - start;
    stopper.join();
    EXPECT_LT(took, std::chrono::milliseconds(1300));
    EXPECT_TRUE(answers.empty());
}

TEST(UpdateCheck, WithoutAServiceEveryRowIsUnansweredAndNothingIsSent) {
    auto rows = update::UpdateProductTable();
    for (auto& row : rows) row.version = 1;
    platform::Event stop(platform::Event::Mode::ManualReset);
    std::vector<UpdateInfo> answers;
    EXPECT_TRUE(update::UpdateCheck::Run(
        rows, update::UpdateService{}, stop,
        [&](std::size_t, UpdateInfo info) { answers.push_back(std::move(info)); }));
    ASSERT_EQ(answers.size(), rows.size());
    for (const UpdateInfo& info : answers) EXPECT_TRUE(info.unanswered);
}

}  // namespace
