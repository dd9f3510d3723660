// SPDX-License-Identifier: GPL-3.0-or-later
// The program itself: `telix-tx512 --list-devices --simulate` lists the simulated
// keyboard's and mouse pad's slots.
#include <json/json.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string RunProgram(const std::string& arguments, int& status) {
    const char* dir = std::getenv("TX512_PROGRAM_DIR");
    std::string command = std::string(dir ? dir : ".") + "/telix-tx512 " + arguments + " 2>&1";
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return output;
    char buffer[512];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    status = ::pclose(pipe);
    return output;
}

}  // namespace

TEST(ListDevicesCommand, SimulatedDevicesFillSlotsZeroOneFourFive) {
    int status = -1;
    std::string output = RunProgram("--list-devices --simulate", status);
    ASSERT_EQ(status, 0) << output;
    std::istringstream lines(output);
    std::string line;
    std::map<int, Json::Value> slots;
    while (std::getline(lines, line)) {
        Json::Value value;
        std::string errors;
        std::istringstream in(line);
        ASSERT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), in, &value, &errors)) << line;
        slots[value["slot"].asInt()] = value;
    }
    ASSERT_EQ(slots.size(), 4u) << output;
    struct Expect {
        int slot;
        const char* product;
        int collection, kind, role;
        const char* page;
        const char* usage;
    } expected[] = {
        {0, "505b", 4, 1, 0, "ff1c", "0092"},
        {1, "505b", 3, 1, 255, "000c", "0001"},
        {4, "1004", 4, 3, 0, "ff1c", "0092"},
        {5, "1004", 3, 3, 255, "000c", "0001"},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.slot);
        ASSERT_TRUE(slots.count(e.slot));
        const auto& v = slots[e.slot];
        EXPECT_EQ(v["vendor"].asString(), "320f");
        EXPECT_EQ(v["product"].asString(), e.product);
        EXPECT_EQ(v["interface"].asInt(), 1);
        EXPECT_EQ(v["collection"].asInt(), e.collection);
        EXPECT_EQ(v["kind"].asInt(), e.kind);
        EXPECT_EQ(v["role"].asInt(), e.role);
        EXPECT_EQ(v["usage_page"].asString(), e.page);
        EXPECT_EQ(v["usage"].asString(), e.usage);
        const std::string tokens = std::string("#vid_320f&pid_") + e.product + "&mi_01&col0" + std::to_string(e.collection);
        EXPECT_NE(v["path"].asString().find(tokens), std::string::npos) << v["path"].asString();
    }
}

TEST(ListDevicesCommand, TheSimulatedHeadsetIsListedOnlyWhenAskedFor) {
    int status = -1;
    const std::string output = RunProgram("--list-devices --simulate=headset", status);
    ASSERT_EQ(status, 0) << output;
    std::istringstream lines(output);
    std::string line;
    std::vector<Json::Value> slots;
    while (std::getline(lines, line)) {
        Json::Value value;
        std::string errors;
        std::istringstream in(line);
        ASSERT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), in, &value, &errors)) << line;
        slots.push_back(value);
    }
    ASSERT_EQ(slots.size(), 1u) << output;
    EXPECT_EQ(slots[0]["vendor"].asString(), "320f");
    EXPECT_EQ(slots[0]["product"].asString(), "6533");
    EXPECT_EQ(slots[0]["interface"].asInt(), 3);
    EXPECT_EQ(slots[0]["collection"].asInt(), 0);
    EXPECT_EQ(slots[0]["kind"].asInt(), 7);
    EXPECT_EQ(slots[0]["role"].asInt(), 0);
    EXPECT_EQ(slots[0]["usage_page"].asString(), "000c");
    EXPECT_EQ(slots[0]["usage"].asString(), "0001");

    // The plain simulation leaves the headset out.
    const std::string plain = RunProgram("--list-devices --simulate", status);
    EXPECT_EQ(plain.find("\"kind\":7"), std::string::npos) << plain;
}

TEST(ListDevicesCommand, TheSimulatedMouseIsListedUnderItsKind) {
    int status = -1;
    // Both collections of the mouse's configuration interface: commands and events.
    const std::string mouse = RunProgram("--list-devices --simulate=mouse", status);
    ASSERT_EQ(status, 0) << mouse;
    EXPECT_NE(mouse.find("\"product\":\"7f02\""), std::string::npos) << mouse;
    EXPECT_NE(mouse.find("\"kind\":2,\"role\":0"), std::string::npos) << mouse;
    EXPECT_NE(mouse.find("\"kind\":2,\"role\":255"), std::string::npos) << mouse;
    EXPECT_EQ(mouse.find("\"kind\":1,"), std::string::npos) << mouse;

    const std::string receiver = RunProgram("--list-devices --simulate=mouse6", status);
    ASSERT_EQ(status, 0) << receiver;
    EXPECT_NE(receiver.find("\"product\":\"7f06\""), std::string::npos) << receiver;
    EXPECT_NE(receiver.find("\"kind\":6,"), std::string::npos) << receiver;

    const std::string plain = RunProgram("--list-devices --simulate", status);
    EXPECT_EQ(plain.find("\"kind\":2,"), std::string::npos) << plain;
}
