// SPDX-License-Identifier: GPL-3.0-or-later
// The record of a settings block the device may lack: its answer follows the newest write
// that ended, and it lasts across a restart only through its file.
#include "model/device/OwedSettings.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace modeltest {
namespace {

namespace fs = std::filesystem;

class OwedSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tx512-owed-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        file_ = fs::path(pattern) / model::OwedSettings::kFileName;
    }
    void TearDown() override { fs::remove_all(file_.parent_path()); }
    fs::path file_;
};

TEST_F(OwedSettingsTest, TheNewestEndDecidesAndAStoodInForEndChangesNothing) {
    model::OwedSettings owed;
    owed.Attach(file_);
    const auto first = owed.Queued();
    const auto second = owed.Queued();
    owed.Ended(second, false);
    EXPECT_TRUE(owed.Owed());
    // The older write's completion, run after the one that replaced it.
    owed.Ended(first, true);
    EXPECT_TRUE(owed.Owed());
    owed.Ended(owed.Queued(), true);
    EXPECT_FALSE(owed.Owed());
    EXPECT_FALSE(fs::exists(file_));
}

TEST_F(OwedSettingsTest, ADebtOutlivesTheRunOnlyUntilItIsPaid) {
    {
        model::OwedSettings owed;
        owed.Attach(file_);
        owed.Ended(owed.Queued(), false);
        EXPECT_TRUE(fs::exists(file_));
    }
    model::OwedSettings next;
    next.Attach(file_);
    EXPECT_TRUE(next.Owed());
    next.Settle();
    EXPECT_FALSE(next.Owed());
    EXPECT_FALSE(fs::exists(file_));

    // A damaged file owes nothing: the keyboard's own settings are then taken as usual.
    std::ofstream(file_) << "{\"SettingsOwed\": tr";
    model::OwedSettings damaged;
    damaged.Attach(file_);
    EXPECT_FALSE(damaged.Owed());
}

}  // namespace
}  // namespace modeltest
