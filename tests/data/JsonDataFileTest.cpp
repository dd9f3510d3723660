// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <json/json.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <regex>
#include <string>
#include <vector>

#include "DataTestFolder.h"
#include "data/JsonDataFile.h"
#include "platform/Trace.h"

namespace fs = std::filesystem;

namespace {

class JsonDataFileTest : public DataTestFolder {
protected:
    JsonDataFile file_;
};


TEST_F(JsonDataFileTest, WritesTheStyledLayoutAndReadsItBack) {
    Json::Value value;
    value["profileUUID"] = "2021_03_07_09_05_02_045";
    value["profilename"] = "Jeu \xc3\xa9t\xc3\xa9 \xe4\xb8\xad";
    value["Device"][0]["KeyList"][0]["Assignment"] = 0x020004;
    value["Device"][0]["KeyList"][1] = Json::Value();
    value["Device"][0]["Bands"] = Json::Value(Json::arrayValue);
    value["Device"][0]["Bands"].append(-3);
    value["Device"][0]["Bands"].append(7);
    value["Device"][0]["Empty"] = Json::Value(Json::objectValue);
    const fs::path path = root_ / "a.Json";
    ASSERT_TRUE(file_.WriteJsonFile(path, value));

    // Members in name order, three-space indent, short flat arrays on one line,
    // non-ASCII text as escapes.
    const std::string expected =
        "{\n"
        "   \"Device\" : [\n"
        "      {\n"
        "         \"Bands\" : [ -3, 7 ],\n"
        "         \"Empty\" : {},\n"
        "         \"KeyList\" : [\n"
        "            {\n"
        "               \"Assignment\" : 131076\n"
        "            },\n"
        "            null\n"
        "         ]\n"
        "      }\n"
        "   ],\n"
        "   \"profileUUID\" : \"2021_03_07_09_05_02_045\",\n"
        "   \"profilename\" : \"Jeu \\u00e9t\\u00e9 \\u4e2d\"\n"
        "}\n";
    EXPECT_EQ(ReadText(path), expected);
    EXPECT_EQ(file_.ReadJsonFile(path), value);

    // No temporary file is left beside it.
    for (const auto& entry : fs::directory_iterator(root_))
        EXPECT_NE(entry.path().filename().string()[0], '.');
}

TEST_F(JsonDataFileTest, KeepsCommentsAcrossARewrite) {
    const fs::path path = root_ / "c.Json";
    WriteText(path, "// my keyboard\n{ \"a\" : 1 }");
    ASSERT_TRUE(file_.WriteJsonFile(path, file_.ReadJsonFile(path)));
    EXPECT_EQ(ReadText(path), "\n// my keyboard\n{\n   \"a\" : 1\n}\n");
}

TEST_F(JsonDataFileTest, ARewriteAlwaysReadsBackEvenWhenItsCommentsCouldNot) {
    // A comment that ends in a blank, left after a value: written as jsoncpp lays it out,
    // the closing bracket would land inside the comment and the file would not read again.
    const fs::path path = root_ / "c.Json";
    WriteText(path, "{ \"a\" : 1, \"b\" : [ 2 // two \n] // end \n}");
    const Json::Value read = file_.ReadJsonFile(path);
    ASSERT_EQ(read["b"][0].asInt(), 2);
    ASSERT_TRUE(file_.WriteJsonFile(path, read));
    JsonDataFile::ReadStatus status = JsonDataFile::ReadStatus::Invalid;
    EXPECT_EQ(file_.ReadJsonFile(path, status), read) << ReadText(path);
    EXPECT_EQ(status, JsonDataFile::ReadStatus::Ok);
}

TEST_F(JsonDataFileTest, HostileOrBrokenInputReadsAsNull) {
    const std::string deep = std::string(5000, '[') + std::string(5000, ']');
    std::string deepObjects;
    for (int i = 0; i < 3000; ++i) deepObjects += "{\"a\":";
    deepObjects += "1" + std::string(3000, '}');
    std::string manyValues = "[0";
    for (int i = 0; i < 300000; ++i) manyValues += ",0";
    manyValues += "]";
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"empty", ""},
        {"truncated", "{ \"Device\" : [ { \"a\" : 1 "},
        {"deep arrays", deep},
        {"deep objects", deepObjects},
        {"too many values", manyValues},
        {"raw invalid UTF-8", "{ \"a\" : \"\xff\xfe\" }"},
        {"overlong UTF-8", "{ \"a\" : \"\xc0\xaf\" }"},
        {"UTF-8 surrogate", "{ \"a\" : \"\xed\xa0\x80\" }"},
        {"escaped lone surrogate", "{ \"a\" : \"\\udc00\" }"},
        {"invalid UTF-8 in a name", "{ \"\xe4\xb8\" : 1 }"},
        // The writer would cut the name at the zero and then, written back, overwrite "a".
        {"zero in a name", "{ \"a\" : 1, \"a\\u0000b\" : 2 }"},
        // A line comment ends at a lone CR for the parser: the nesting after it counts.
        {"deep arrays after a CR comment",
         "[ // \"\r" + std::string(64, '[') + std::string(65, ']')},
        {"too large", "[" + std::string(16u << 20, ' ') + "]"},
    };
    for (const auto& [name, text] : cases) {
        const fs::path path = root_ / "hostile.json";
        WriteText(path, text);
        JsonDataFile::ReadStatus status = JsonDataFile::ReadStatus::Ok;
        EXPECT_TRUE(file_.ReadJsonFile(path, status).isNull()) << name;
        EXPECT_EQ(status, JsonDataFile::ReadStatus::Invalid) << name;
    }

    // Brackets inside strings and comments are not nesting.
    const fs::path path = root_ / "fine.json";
    WriteText(path, "/* [[[[ */ { \"a\" : \"" + std::string(200, '[') + "\\\"[\" } // {{{{");
    EXPECT_EQ(file_.ReadJsonFile(path)["a"].asString(), std::string(200, '[') + "\"[");
}

TEST_F(JsonDataFileTest, TellsMissingFromUnreadableWithoutStalling) {
    JsonDataFile::ReadStatus status = JsonDataFile::ReadStatus::Ok;
    EXPECT_TRUE(file_.ReadJsonFile(root_ / "none.Json", status).isNull());
    EXPECT_EQ(status, JsonDataFile::ReadStatus::Missing);
    EXPECT_TRUE(file_.ReadJsonFile(root_ / "none" / "deeper.Json", status).isNull());
    EXPECT_EQ(status, JsonDataFile::ReadStatus::Missing);

    // A FIFO in the file's place would block a plain open for ever.
    const fs::path fifo = root_ / "fifo.Json";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_TRUE(file_.ReadJsonFile(fifo, status).isNull());
    EXPECT_EQ(status, JsonDataFile::ReadStatus::Unreadable);
    EXPECT_TRUE(file_.ReadJsonFile(root_, status).isNull());
    EXPECT_EQ(status, JsonDataFile::ReadStatus::Unreadable);

    // A folder that does not exist cannot be written into; nothing is created.
    EXPECT_FALSE(file_.WriteJsonFile(root_ / "none" / "x.Json", Json::Value(1)));
    EXPECT_FALSE(fs::exists(root_ / "none"));
    EXPECT_FALSE(file_.WriteJsonFile({}, Json::Value(1)));
}

TEST_F(JsonDataFileTest, ReportsEveryReadAsDebugText) {
    std::string trace;
    platform::SetTraceSink([&](std::string_view text) { trace += text; });
    const fs::path missing = root_ / "none.Json";
    file_.ReadJsonFile(missing);
    const fs::path present = root_ / "p.Json";
    WriteText(present, "{}");
    file_.ReadJsonFile(present);
    platform::SetTraceSink({});
    EXPECT_EQ(trace,
              "readjsonFile 错误吗：：2\n" + missing.string() + "readjsonFile 错误吗：：0\n");
}

TEST(TimeStampName, FormatsLocalTimeWithMilliseconds) {
    const char* oldTz = std::getenv("TZ");
    const std::string saved = oldTz ? oldTz : "";
    ::setenv("TZ", "CET-1", 1);
    ::tzset();
    std::tm utc{};
    utc.tm_year = 2021 - 1900, utc.tm_mon = 2, utc.tm_mday = 7, utc.tm_hour = 8, utc.tm_min = 5,
    utc.tm_sec = 2;
    const auto when =
        std::chrono::system_clock::from_time_t(::timegm(&utc)) + std::chrono::milliseconds(45);
    EXPECT_EQ(JsonDataFile::MakeTimeStampName(when), "2021_03_07_09_05_02_045");
    if (oldTz)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();

    EXPECT_TRUE(std::regex_match(JsonDataFile().MakeTimeStampName(),
                                 std::regex(R"(\d{4}(_\d\d){5}_\d{3})")));
}

}  // namespace
