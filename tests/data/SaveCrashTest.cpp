// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <json/json.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

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


TEST_F(SaveCrashTest, AKilledSaveLeavesTheOldOrTheNewDocument) {
    const fs::path path = root_ / "profile.Json";
    Json::Value oldDocument;
    oldDocument["profilename"] = "crash";
    oldDocument["Device"][0] = LargeSection(1);
    Json::Value newDocument = oldDocument;
    newDocument["Device"][0] = LargeSection(2);

    ASSERT_TRUE(JsonDataFile().WriteJsonFile(path, oldDocument));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(CKeyboardProfiledata().SaveSection(newDocument["Device"][0], path));
    const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    std::uniform_int_distribution<int64_t> delay(0, saveTime.count());
    std::uniform_int_distribution<int> savesBefore(0, 3);

    int sawOld = 0;
    int sawNew = 0;
    std::mt19937 random(20240607);
    for (int round = 0; round < 30; ++round) {
        ASSERT_TRUE(JsonDataFile().WriteJsonFile(path, oldDocument));
        int done[2];
        ASSERT_EQ(::pipe(done), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves the two sections in turn until killed (or, should the parent be
            // gone, for a few seconds), telling the parent after each save.
            ::close(done[0]);
            CKeyboardProfiledata profile;
            const Json::Value sections[2] = {newDocument["Device"][0], oldDocument["Device"][0]};
            const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            for (int i = 0; std::chrono::steady_clock::now() < end; ++i) {
                profile.SaveSection(sections[i % 2], path);
                const char saved = 1;
                if (::write(done[1], &saved, 1) != 1) break;
            }
            ::_exit(0);
        }
        ::close(done[1]);
        // The kill lands at a point counted in the child's own saves, however loaded the
        // machine is: after 0 to 3 of them, somewhere in the next.
        const int saves = savesBefore(random);
        char saved = 0;
        for (int i = 0; i < saves; ++i) ASSERT_EQ(::read(done[0], &saved, 1), 1);
        // Real time on purpose: the kill lands at a random moment of a save.
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        ::close(done[0]);
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

}  // namespace
