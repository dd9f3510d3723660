// What the update check sends and how it reads what comes back: the product keys, the
// request body, and answers of every shape.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Event.h"
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

TEST(UpdateQuery, BodyCarriesTheKeyAndTheVersionInItsBaseWithItsZeroByte) {
    EXPECT_EQ(UpdateQuery::RequestBody("K A", 0x0105, 1),
              std::string("app_key=K A&version=105\0", 24));
    EXPECT_EQ(UpdateQuery::RequestBody("K", 103, 0), std::string("app_key=K&version=103\0", 22));
    EXPECT_EQ(UpdateQuery::ServiceUrl("http://127.0.0.1:8/"), "http://127.0.0.1:8/api/updates");
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

TEST(UpdateQuery, AnswersThatDoNotMakeSenseAreNeverAnUpdate) {
    const std::string good = R"("name":"x","path":"http://127.0.0.1/x")";
    const std::vector<std::string> bodies = {
        std::string("not json"),
        std::string("[1,2,3]"),
        std::string("\"text\""),
        std::string("{}"),
        std::string(R"({"name":"x","version":"999"} trailing)"),
        "{" + good + R"(,"version":"abc"})",
        "{" + good + R"(,"version":"1.2"})",
        "{" + good + R"(,"version":""})",
        "{" + good + R"(,"version":"-5"})",
        "{" + good + R"(,"version":"99999999999"})",
        "{" + good + R"(,"version":true})",
        "{" + good + R"(,"version":-1})",
        R"({"name":5,"version":"999"})",
        R"({"name":"x","version":"999","path":"file:///etc/passwd"})",
        R"x({"name":"x","version":"999","path":"javascript:alert(1)"})x",
        R"({"name":"x","version":"999","path":"http:///nohost"})",
        R"({"name":"x","version":"999","path":"http://a b/"})",
        R"({"name":"x","version":"999","path":7})",
        std::string(200, '[') + std::string(200, ']'),
        std::string("{\"name\":\"\xff\",\"version\":\"999\"}")};
    for (const std::string& body : bodies) {
        const UpdateInfo info = Read(body, 0x0105, 0);
        EXPECT_EQ(info.status, UpdateInfo::kUpToDate) << body;
        EXPECT_TRUE(info.serverVersion.empty()) << body;
        EXPECT_TRUE(info.downloadUrl.empty()) << body;
    }
    // Hexadecimal digits are a version only for firmware.
    EXPECT_EQ(Read(R"({"name":"x","version":"1a0"})", 0x0105, 1).status, UpdateInfo::kNewer);
    EXPECT_EQ(Read(R"({"name":"x","version":"1a0"})", 5, 0).status, UpdateInfo::kUpToDate);
    // A body cut at the buffer's end is not JSON.
    const std::string cut = R"({"name":"x","version":"999","pad":")" + std::string(200000, 'a');
    EXPECT_EQ(UpdateQuery::ReadAnswer(cut.data(), UpdateQuery::kAnswerCapacity, 1, 0).status,
              UpdateInfo::kUpToDate);
    // Texts shown from the answer lose control characters and stay short.
    const UpdateInfo shown =
        Read(R"({"name":"a\u0007b","version":"9","version_name":")" + std::string(300, 'v') + "\"}",
             1, 0);
    EXPECT_EQ(shown.name, "ab");
    EXPECT_EQ(shown.serverVersion.size(), UpdateQuery::kMaxShownBytes);
}

TEST(UpdateService, BaseUrlIsAWebAddressEndingWithASlash) {
    EXPECT_EQ(update::UpdateService::NormalisedBaseUrl("http://127.0.0.1:9"),
              "http://127.0.0.1:9/");
    EXPECT_EQ(update::UpdateService::NormalisedBaseUrl("HTTPS://h/x/"), "HTTPS://h/x/");
    for (const char* bad :
         {"", "ftp://h/", "http://", "http:///x", "h/x", "http://h/ x", "http://h/?q"})
        EXPECT_EQ(update::UpdateService::NormalisedBaseUrl(bad), "") << bad;
}

TEST(UpdateCheck, AsksAboutEveryRowInOrderAndReportsNoAnswerWithoutAService) {
    testsupport::LocalUpdateServer server([] {
        Json::Value script;
        script["answers"].append(testsupport::LocalUpdateServer::Answer(
            "QX20P51C", R"({"name":"kb","version":"106","path":"http://127.0.0.1/k"})"));
        script["default"]["body"] = "garbage";
        return script;
    }());
    ASSERT_TRUE(server.Running());
    auto rows = update::UpdateProductTable();
    rows.erase(rows.begin());  // the keyboard's row and the program's
    rows.erase(rows.begin() + 1);
    rows[0].version = 0x0105;
    rows[1].version = 10;
    platform::Event stop(platform::Event::Mode::ManualReset);
    std::vector<UpdateInfo> answers;
    update::UpdateService service{server.BaseUrl(), {}};
    EXPECT_TRUE(update::UpdateCheck::Run(rows, service, stop, [&](std::size_t k, UpdateInfo info) {
        EXPECT_EQ(k, answers.size());
        answers.push_back(std::move(info));
    }));
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0].status, UpdateInfo::kNewer);
    EXPECT_EQ(answers[1].status, UpdateInfo::kUpToDate);
    EXPECT_FALSE(answers[1].unanswered);
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(
        testsupport::FromHex(requests[0]["body"].asString()),
        std::string("app_key=VEXAL_1_QX20P51C_TELIX TX512 keyboard Driver_1&version=105\0", 67));

    answers.clear();
    update::UpdateCheck::Run(
        rows, update::UpdateService{}, stop,
        [&](std::size_t, UpdateInfo info) { answers.push_back(std::move(info)); });
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_TRUE(answers[0].unanswered && answers[1].unanswered);
    EXPECT_EQ(server.Requests().size(), 2u) << "nothing sent without a service";
}

}  // namespace
