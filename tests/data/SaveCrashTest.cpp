#include <gtest/gtest.h>
#include <json/json.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "DataTestFolder.h"
#include "data/CKeyboardProfiledata.h"

namespace fs = std::filesystem;

namespace {

// A profile of some 350 KiB, so that a save takes long enough to be interrupted.
Json::Value LargeSection(int shade) {
    Json::Value section;
    for (Json::ArrayIndex group = 0; group < 16; ++group)
        for (Json::ArrayIndex key = 0; key < 126; ++key)
            for (const char* channel : {"Red", "Green", "Blue", "Alpha"})
                section["CustomLightMode"]["LightColorInfo"][group][key][channel] = shade;
    return section;
}

class SaveCrashTest : public DataTestFolder {};

}  // namespace

TEST_F(SaveCrashTest, AKilledSaveLeavesTheOldOrTheNewDocument) {
    const fs::path path = root_ / "profile.Json";
    Json::Value oldDocument;
    oldDocument["profilename"] = "crash";
    oldDocument["Device"][0] = LargeSection(1);
    Json::Value newDocument = oldDocument;
    newDocument["Device"][0] = LargeSection(2);

    ASSERT_TRUE(JsonDataFile().WriteJsonFile(path, oldDocument));
    // A save's time varies with the disk's flushes (and a new process's first save is the
    // slowest): the slowest of a few, and kills anywhere in the first four of each child.
    std::chrono::microseconds saveTime{0};
    for (int i = 0; i < 3; ++i) {
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(CKeyboardProfiledata().SaveSection(newDocument["Device"][0], path));
        saveTime = std::max(saveTime, std::chrono::duration_cast<std::chrono::microseconds>(
                                          std::chrono::steady_clock::now() - start));
    }
    std::uniform_int_distribution<int64_t> delay(0, 4 * saveTime.count());

    int sawOld = 0;
    int sawNew = 0;
    std::mt19937 random(20240607);
    for (int round = 0; round < 30; ++round) {
        ASSERT_TRUE(JsonDataFile().WriteJsonFile(path, oldDocument));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves the two sections in turn until killed (or, should the parent be
            // gone, for a few seconds).
            CKeyboardProfiledata profile;
            const Json::Value sections[2] = {newDocument["Device"][0], oldDocument["Device"][0]};
            const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            for (int i = 0; std::chrono::steady_clock::now() < end; ++i)
                profile.SaveSection(sections[i % 2], path);
            ::_exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);

        const Json::Value onDisk = JsonDataFile().ReadJsonFile(path);
        if (onDisk == oldDocument)
            ++sawOld;
        else if (onDisk == newDocument)
            ++sawNew;
        else
            FAIL() << "round " << round << ": the file holds neither document ("
                   << fs::file_size(path) << " bytes)";
    }
    // Both outcomes were seen, so the kills did land among the saves.
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
}
